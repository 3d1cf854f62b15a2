"""convert for dask arrays and xarray DataArrays: imported only when one is given, so that
numpy alone is enough for everything else.

A dask array gives a lazy dask array whose blocks the numpy convert converts, on whatever
scheduler computes it (threads, processes, a dask.distributed cluster). A DataArray gives a
DataArray through xarray.apply_ufunc, which aligns and broadcasts by xarray's rules and passes
dask-backed data through lazily.
"""
import sys

import numpy as np

from . import ConversionError, _Arguments, _pevrand

# Each quantity's unit, as attrs["units"] of a DataArray: the quantity table's symbol.
UNITS = {q["name"]: q["symbol"] for q in _pevrand.quantity_table()}

NAMES = ("values", "angle", "path", "pixel")


def convert(values, source, target, *, angle, path, pixel, rounded, errors, out):
    if out is not None:
        raise TypeError("out takes numpy arrays only: store a dask result with "
                        "dask.array.store or to_hdf5")
    arguments = dict(zip(NAMES, (values, angle, path, pixel)))
    xarray = sys.modules.get("xarray")
    if xarray is not None and any(isinstance(a, xarray.DataArray) for a in arguments.values()):
        return _convert_dataarray(xarray, arguments, source, target, rounded, errors)
    return _convert_dask(arguments, source, target, rounded, errors)


def _tables(arguments):
    """With pixel, the angle and path are tables, not arrays over the events."""
    return ("angle", "path") if arguments["pixel"] is not None else ()


def _convert_dataarray(xarray, arguments, source, target, rounded, errors):
    from . import convert as convert_any

    arrays, fixed = {}, {}
    for name, argument in arguments.items():
        if isinstance(argument, xarray.DataArray) and name in _tables(arguments):
            argument = argument.data
        (arrays if isinstance(argument, xarray.DataArray) else fixed)[name] = argument

    def apply(*data):
        return convert_any(**dict(zip(arrays, data)), **fixed, source=source, target=target,
                           rounded=rounded, errors=errors)

    join = xarray.get_options().get("arithmetic_join", "inner")
    result = xarray.apply_ufunc(apply, *arrays.values(), dask="allowed", join=join,
                                keep_attrs="drop")
    values = arguments["values"]
    result.name = values.name if isinstance(values, xarray.DataArray) else None
    result.attrs = {"units": UNITS[_pevrand.quantity_name(target)]}
    return result


def _convert_dask(arguments, source, target, rounded, errors):
    import dask
    import dask.array as da

    tables = _tables(arguments)
    blocks, fixed = {}, {}
    for name, argument in arguments.items():
        if argument is None or np.ndim(argument) == 0 and not isinstance(argument, da.Array):
            fixed[name] = argument
        elif name in tables:
            # A whole table for every block: computed once, sent once to each worker.
            fixed[name] = dask.delayed(argument)
        else:
            blocks[name] = argument if isinstance(argument, da.Array) else da.asarray(argument)
    # Broadcast, then cut into the blocks of the first dask array among them.
    shape = np.broadcast_shapes(*(a.shape for a in blocks.values()))
    lead = next((a for n, a in blocks.items() if isinstance(arguments[n], da.Array)),
                blocks["values"])
    chunks = da.broadcast_to(lead, shape).chunks
    blocks = {n: da.broadcast_to(a, shape).rechunk(chunks) for n, a in blocks.items()}
    ndim = len(shape)
    # Tables and scalars go in by keyword through a dict, which dask looks into for delayed
    # tables; the arrays by position, aligned block by block.
    return da.map_blocks(_convert_block, *blocks.values(), names=tuple(blocks), fixed=fixed,
                         source=source, target=target, rounded=rounded, errors=errors,
                         dtype=np.float32, meta=np.empty((0,) * ndim, dtype=np.float32))


def _convert_block(*data, names, fixed, source, target, rounded, errors, block_info=None):
    """One block converted by the numpy path, its errors naming indices over the whole array."""
    given = {**fixed, **dict(zip(names, data))}
    offset = None
    if block_info is not None:
        offset = tuple(start for start, _ in block_info[None]["array-location"])
    arguments = _Arguments(given["values"], given["angle"], given["path"], given["pixel"], offset)
    return arguments.convert(source, target, rounded, errors)


__all__ = ["convert", "ConversionError", "UNITS"]
