"""convert for dask arrays and xarray DataArrays: imported only when one is given, so that
numpy alone is enough for everything else.

A dask array gives a lazy dask array whose blocks the numpy convert converts, on whatever
scheduler computes it (threads, processes, a dask.distributed cluster). A DataArray gives a
DataArray through xarray.apply_ufunc, which aligns and broadcasts by xarray's rules and passes
dask-backed data through lazily.
"""
import sys

import numpy as np

from . import ConversionError, _Arguments, _pevrand, _result_dtype

# Each quantity's unit, as attrs["units"] of a DataArray: the quantity table's symbol.
UNITS = {q["name"]: q["symbol"] for q in _pevrand.quantity_table()}

NAMES = ("values", "angle", "path", "pixel")


def convert(values, source, target, *, angle, path, pixel, out, **options):
    """options: rounded, errors, constants and pixel_offset, as convert takes them."""
    if out is not None:
        raise TypeError("out takes numpy arrays only: store a dask result with "
                        "dask.array.store or to_zarr (see the module's documents)")
    arguments = dict(zip(NAMES, (values, angle, path, pixel)))
    xarray = sys.modules.get("xarray")
    if xarray is not None and any(isinstance(a, xarray.DataArray) for a in arguments.values()):
        return _convert_dataarray(xarray, arguments, source, target, options)
    return _convert_dask(arguments, source, target, options)


def _tables(arguments):
    """With pixel, the angle and path are tables, not arrays over the events."""
    return ("angle", "path") if arguments["pixel"] is not None else ()


# The unit each argument is taken in, where attrs["units"] names one: the source quantity's for
# the values, degrees for the angle, metres for the flight path.
def _expected_units(name, source):
    return {"values": UNITS[_pevrand.quantity_name(source)], "angle": "deg", "path": "m"}.get(name)


# The spellings of each unit that a DataArray's attrs["units"] may use for it.
SAME_UNITS = {
    "µs": {"µs", "μs", "us", "microsecond", "microseconds"},
    "Å": {"Å", "\u212b", "angstrom", "Angstrom", "angstroms", "Angstroms", "AA"},
    "Å⁻¹": {"Å⁻¹", "1/Å", "\u212b⁻¹", "1/angstrom", "1/Angstrom", "angstrom^-1", "Angstrom^-1",
            "1/AA"},
    "meV": {"meV"},
    "THz": {"THz"},
    "m/s": {"m/s", "m s-1", "m s^-1", "meter/second", "metre/second"},
    "K": {"K", "kelvin"},
    "cm⁻¹": {"cm⁻¹", "cm-1", "1/cm", "cm^-1"},
    "deg": {"deg", "degree", "degrees", "°"},
    "m": {"m", "meter", "metre", "meters", "metres"},
}


def _check_units(xarray, arguments, source):
    """A DataArray whose attrs["units"] names another unit than the one its argument is taken
    in is refused: converting 'ms' as if it were µs would be 1000x off without a word. One with
    no units is taken in the argument's unit."""
    for name, argument in arguments.items():
        if not isinstance(argument, xarray.DataArray) or "units" not in argument.attrs:
            continue
        expected = _expected_units(name, source)
        given = str(argument.attrs["units"]).strip()
        if expected is not None and given not in SAME_UNITS.get(expected, {expected}):
            what = {"values": f"the values ({_pevrand.quantity_name(source)})",
                    "angle": "the angle", "path": "the flight path"}[name]
            raise ValueError(f"{what} must be in {expected}, but attrs['units'] says "
                             f"{given!r}: convert it first, or drop the attribute if it is "
                             f"wrong")


def _convert_dataarray(xarray, arguments, source, target, options):
    from . import convert as convert_any

    _check_units(xarray, arguments, source)
    arrays, fixed = {}, {}
    for name, argument in arguments.items():
        if isinstance(argument, xarray.DataArray) and name in _tables(arguments):
            argument = argument.data
        (arrays if isinstance(argument, xarray.DataArray) else fixed)[name] = argument

    def apply(*data):
        return convert_any(**dict(zip(arrays, data)), **fixed, source=source, target=target,
                           **options)

    join = xarray.get_options().get("arithmetic_join", "inner")
    result = xarray.apply_ufunc(apply, *arrays.values(), dask="allowed", join=join,
                                keep_attrs="drop")
    # Named after what it now holds: a plot of it reads "dspacing [Å]", not "tof [Å]".
    target_name = _pevrand.quantity_name(target)
    result.name = target_name
    result.attrs = {"units": UNITS[target_name]}
    return result


def _convert_dask(arguments, source, target, options):
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
    dtype = _result_dtype(options["constants"])
    # Tables and scalars go in by keyword through a dict, which dask looks into for delayed
    # tables; the arrays by position, aligned block by block.
    return da.map_blocks(_convert_block, *blocks.values(), names=tuple(blocks), fixed=fixed,
                         source=source, target=target, options=options, dtype=dtype,
                         meta=np.empty((0,) * len(shape), dtype=dtype))


def _convert_block(*data, names, fixed, source, target, options, block_info=None):
    """One block converted by the numpy path, its errors naming indices over the whole array."""
    given = {**fixed, **dict(zip(names, data))}
    offset = None
    if block_info is not None:
        offset = tuple(start for start, _ in block_info[None]["array-location"])
    arguments = _Arguments(given["values"], given["angle"], given["path"], given["pixel"], offset,
                           pixel_offset=options["pixel_offset"])
    return arguments.convert(source, target, options["rounded"], options["errors"],
                             constants=options["constants"])


__all__ = ["convert", "ConversionError", "UNITS"]
