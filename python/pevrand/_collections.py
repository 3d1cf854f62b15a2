"""The module's functions for dask arrays and xarray DataArrays: imported only when one is
given, so that numpy alone is enough for everything else.

A dask array gives a lazy dask array whose blocks the numpy path converts, on whatever scheduler
computes it (threads, processes, a dask.distributed cluster), each block's errors naming indices
over the whole array. A DataArray gives a DataArray through xarray.apply_ufunc, which aligns and
broadcasts by xarray's rules and passes dask-backed data through lazily; it is named after what
it now holds and says its unit.
"""
import sys

import numpy as np

from . import ConversionError, _numpy_call, _pevrand

# Each quantity's unit, as attrs["units"] of a DataArray: the quantity table's symbol.
UNITS = {q["name"]: q["symbol"] for q in _pevrand.quantity_table()}

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
    "µs/Å": {"µs/Å", "us/Angstrom", "µs/angstrom", "us/angstrom", "microsecond/angstrom"},
    "µs/Å²": {"µs/Å²", "us/Angstrom^2", "µs/angstrom^2", "us/angstrom^2"},
}


class Call:
    """One call of a module function on dask arrays or DataArrays: its `kind` ("convert",
    "energy_transfer", ...), its arguments by name in order (values first, pixel among them),
    which of them are per-pixel tables, the options the numpy path takes, the result's dtype,
    and for DataArrays the result's name and unit, and each argument's (unit, what to call it in
    a message)."""

    def __init__(self, kind, arguments, tables, options, dtype, name, units, expected):
        self.kind, self.arguments, self.tables = kind, arguments, tables
        self.options, self.dtype = options, dtype
        self.name, self.units, self.expected = name, units, expected


def is_lazy(*arguments):
    """Whether any argument is a dask array or a DataArray (of a library already imported)."""
    xarray, dask_array = sys.modules.get("xarray"), sys.modules.get("dask.array")
    return (xarray is not None and any(isinstance(a, xarray.DataArray) for a in arguments)) or (
        dask_array is not None and any(isinstance(a, dask_array.Array) for a in arguments))


def run(call, out):
    if out is not None:
        raise TypeError("out takes numpy arrays only: store a dask result with "
                        "dask.array.store or to_zarr (see the module's documents)")
    xarray = sys.modules.get("xarray")
    if xarray is not None and any(isinstance(a, xarray.DataArray)
                                  for a in call.arguments.values()):
        return _run_dataarray(xarray, call)
    return _run_dask(call)


def _check_units(xarray, call):
    """A DataArray whose attrs["units"] names another unit than the one its argument is taken
    in is refused: converting 'ms' as if it were µs would be 1000x off without a word. One with
    no units is taken in the argument's unit."""
    for name, argument in call.arguments.items():
        if not isinstance(argument, xarray.DataArray) or "units" not in argument.attrs:
            continue
        if name not in call.expected:
            continue
        expected, label = call.expected[name]
        given = str(argument.attrs["units"]).strip()
        if given not in SAME_UNITS.get(expected, {expected}):
            raise ValueError(f"{label} must be in {expected}, but attrs['units'] says "
                             f"{given!r}: convert it first, or drop the attribute if it is "
                             f"wrong")


def _run_dataarray(xarray, call):
    _check_units(xarray, call)
    arrays, fixed = {}, {}
    for name, argument in call.arguments.items():
        if isinstance(argument, xarray.DataArray) and name in call.tables:
            argument = argument.data
        (arrays if isinstance(argument, xarray.DataArray) else fixed)[name] = argument

    def apply(*data):
        given = {**fixed, **dict(zip(arrays, data))}
        if is_lazy(*given.values()):
            return _run_dask(Call(call.kind, given, call.tables, call.options, call.dtype,
                                  call.name, call.units, call.expected))
        return _numpy_call(call.kind, given, None, call.options)

    join = xarray.get_options().get("arithmetic_join", "inner")
    result = xarray.apply_ufunc(apply, *arrays.values(), dask="allowed", join=join,
                                keep_attrs="drop")
    # Named after what it now holds: a plot of it reads "dspacing [Å]", not "tof [Å]".
    result.name = call.name
    result.attrs = {"units": call.units}
    return result


def _run_dask(call):
    import dask
    import dask.array as da

    blocks, fixed = {}, {}
    for name, argument in call.arguments.items():
        if argument is None or np.ndim(argument) == 0 and not isinstance(argument, da.Array):
            fixed[name] = argument
        elif name in call.tables:
            # A whole table for every block: computed once, sent once to each worker.
            fixed[name] = dask.delayed(argument)
        else:
            blocks[name] = argument if isinstance(argument, da.Array) else da.asarray(argument)
    # Broadcast, then cut into the blocks of the first dask array among them.
    shape = np.broadcast_shapes(*(a.shape for a in blocks.values()))
    lead = next((a for n, a in blocks.items() if isinstance(call.arguments[n], da.Array)),
                next(iter(blocks.values())))
    chunks = da.broadcast_to(lead, shape).chunks
    blocks = {n: da.broadcast_to(a, shape).rechunk(chunks) for n, a in blocks.items()}
    # Tables and scalars go in by keyword through a dict, which dask looks into for delayed
    # tables; the arrays by position, aligned block by block.
    return da.map_blocks(_run_block, *blocks.values(), names=tuple(blocks), fixed=fixed,
                         kind=call.kind, options=call.options, dtype=call.dtype,
                         meta=np.empty((0,) * len(shape), dtype=call.dtype))


def _run_block(*data, names, fixed, kind, options, block_info=None):
    """One block by the numpy path, its errors naming indices over the whole array."""
    given = {**fixed, **dict(zip(names, data))}
    offset = None
    if block_info is not None:
        offset = tuple(start for start, _ in block_info[None]["array-location"])
    return _numpy_call(kind, given, offset, options)


__all__ = ["run", "is_lazy", "Call", "ConversionError", "UNITS"]
