"""Pevrand : Neutron Units Converter, for Python.

Converts neutron quantities with exactly the numbers that the Pevrand window shows, bit for
bit, for a single value or a whole numpy array::

    >>> import pevrand
    >>> pevrand.convert(25, "meV", "wavelength")
    1.8087
    >>> pevrand.convert([1.0, 2.0], "dspacing", "tof", angle=90, path=12.5)
    array([4469.2, 8938.5], dtype=float32)
    >>> pevrand.convert_all(2.0, "dspacing", angle=90)["energy"]
    10.223

convert_all gives every quantity at once; the angle and the flight path may be arrays, one per
detector pixel say, broadcast against the values, or tables looked up by each event's pixel
(pixel=); a masked array keeps its mask; a dask array gives a lazy dask array, an xarray
DataArray a DataArray. For histograms and fits use rounded=False (see convert).

The quantities, with the other names they answer to (matched without regard to case, except
K): {quantity_names}. The angle 2 theta (degrees) is needed when exactly one side is q or
dspacing, the flight path (metres) when exactly one side is tof.
"""

import math as _math
import numbers as _numbers
import sys as _sys
import textwrap as _textwrap
from decimal import Decimal as _Decimal

try:
    import numpy as _np
except ImportError as _missing:
    raise ImportError("pevrand needs numpy: python -m pip install numpy") from _missing

from . import _pevrand

# The quantity table of the engine: each quantity's name, other names, unit and meaning.
_QUANTITIES = _pevrand.quantity_table()


def _names_with_aliases():
    """'energy (meV), wavelength (lambda), ..., tof (time-of-flight, us, µs)'."""
    return ", ".join(q["name"] + (f" ({', '.join(q['aliases'])})" if q["aliases"] else "")
                     for q in _QUANTITIES)


def _quantity_lines(indent):
    """One line a quantity: its names, then its meaning ('energy, meV: neutron energy in meV')."""
    return "\n".join(f"{indent}{', '.join([q['name'], *q['aliases']])}: {q['description']}"
                     for q in _QUANTITIES)


def _filled(text, placeholder, value):
    """`text` with the paragraph holding `placeholder` filled in and wrapped again."""
    paragraphs = text.split("\n\n")
    return "\n\n".join(_textwrap.fill(p.replace(placeholder, value), 96) if placeholder in p
                       else p for p in paragraphs)


__doc__ = _filled(__doc__, "{quantity_names}", _names_with_aliases())
__version__ = _pevrand.__version__
__all__ = ["ConversionError", "constants", "convert", "convert_all", "convert_text",
           "dspacing_to_tof", "editions", "energy_transfer", "momentum_transfer", "quantities",
           "tof_to_dspacing", "__version__"]

# The editions of the constants: (name, title, source), classic first, the default.
_EDITIONS = _pevrand.editions()


class ConversionError(ValueError):
    """A value that Pevrand can't convert.

    ``message`` is the message the window shows for it; ``index`` is the index of the element
    that failed (an int for a one-dimensional result, a tuple for more dimensions, None for a
    scalar, or when no element was at fault: an angle or flight path given as a scalar that is
    missing or unusable); ``field`` says what failed, "value", "angle" or "path", and ``value``
    is that number (None where it was not given). ``pixel`` is the detector pixel whose table
    entry was at fault, under pixel= (None otherwise).
    """

    def __init__(self, message, index=None, value=None, field="value", pixel=None):
        self.message = message
        self.index = index
        self.value = value
        self.field = field
        self.pixel = pixel
        where = [] if pixel is None else [f"pixel {pixel}"]
        where += [] if index is None else [f"at index {index}"]
        super().__init__(f"{message} ({', '.join(where)})" if where else message)

    def __reduce__(self):
        # Raised on a dask worker, it crosses to the client whole.
        return type(self), (self.message, self.index, self.value, self.field, self.pixel)


def quantities():
    """The quantities' names, in the window's order: {names}. Each also answers to the other
    names that help(pevrand.convert) lists."""
    return [q["name"] for q in _QUANTITIES]


def _name(name, what):
    if not isinstance(name, str):
        raise TypeError(f"{what} must be a quantity name (str), not {type(name).__name__}")
    _pevrand.quantity_name(name)  # ValueError now for an unknown name, not when dask computes
    return name


def _float(value):
    # An int too large for a double is, like a typed 1e400, an infinity of its sign.
    try:
        return float(value)
    except OverflowError:
        return _math.inf if value > 0 else -_math.inf


def _real_array(values, what):
    array = _np.asarray(values)
    if array.dtype.kind in "biuf":
        return array  # any dtype and byte order: numpy's iterator reads it in stretches
    if array.dtype.kind == "O" and all(
        isinstance(v, (_numbers.Real, _Decimal)) for v in array.flat
    ):
        return _np.array([_float(v) for v in array.flat], dtype=_np.float64).reshape(array.shape)
    raise TypeError(f"{what} must be real numbers, not {array.dtype} ({type(values).__name__})")


def _geometry(value, what):
    """(number, array) of an angle or flight path: a scalar, or an array of them."""
    if value is None:
        return None, None
    array = _real_array(value, what)
    if array.ndim == 0:
        return _float(array[()]), None
    return None, array


def _pixels(pixel):
    array = _np.asarray(pixel)
    if array.dtype.kind not in "iu":
        raise TypeError(f"pixel must be integers, not {array.dtype} ({type(pixel).__name__})")
    return array


def _index(shape, flat, offset):
    """The index of the element at the flat index `flat` of an array of `shape`, counted over
    the whole array where this is a block of it starting at `offset`: an int for one dimension,
    a tuple for more, None for a scalar."""
    if len(shape) == 0:
        return None
    index = tuple(int(i) for i in _np.unravel_index(flat, shape))
    if offset is not None:
        index = tuple(i + o for i, o in zip(index, offset))
    return index[0] if len(index) == 1 else index


def _outside_tables(pixel, index, tables, first):
    """The IndexError of a pixel id outside the tables, its ids counted from `first`."""
    length = min(len(t) for t in tables if t is not None)
    if pixel < first:
        where = "negative" if first == 0 else f"below pixel_offset {first}"
    else:
        where = f"outside the tables of {length} pixels"
        if first:
            where += f" (pixels {first} to {first + length - 1})"
    return IndexError(f"pixel {pixel} at index {index} is {where}")


def _result_dtype(constants):
    """float32 for the classic constants, whose steps end in a single; float64 for the
    others."""
    return _np.dtype(_np.float32 if constants == "classic" else _np.float64)


def _out(out, shape, dtype):
    if not isinstance(out, _np.ndarray) or isinstance(out, _np.ma.MaskedArray):
        raise TypeError(f"out must be a numpy array of {dtype}, not {type(out).__name__}")
    if out.dtype.kind != "f" or out.dtype.itemsize != dtype.itemsize:
        raise TypeError(f"out must be {dtype} (either byte order), not {out.dtype}")
    if out.shape != tuple(shape):
        raise ValueError(f"out has the shape {out.shape}, the result {tuple(shape)}")
    if not out.flags.writeable:
        raise ValueError("out is read-only")
    return out


class _Arguments:
    """The values, angles, flight paths and pixels of one call, broadcast to the result's shape
    as views: no element is copied."""

    def __init__(self, values, angle, path, pixel, offset=None, pixel_offset=0):
        self.values = _real_array(values, "values")
        self.angle, self.angles = _geometry(angle, "angle")
        self.path, self.paths = _geometry(path, "path")
        self.pixels = None if pixel is None else _pixels(pixel)
        # Where this block of a larger array starts, for the indices that errors name.
        self.offset = offset
        self.pixel_offset = _pixel_offset(pixel_offset)
        if self.pixels is not None:
            for table, what in ((self.angles, "angle"), (self.paths, "path")):
                if table is not None and table.ndim != 1:
                    raise ValueError(f"with pixel, {what} must be a number or a table with an "
                                     f"entry a pixel (one dimension), not of shape {table.shape}")
            if (self.angles is not None and self.paths is not None
                    and len(self.angles) != len(self.paths)):
                raise ValueError(f"the angle table has {len(self.angles)} pixels, the path "
                                 f"table {len(self.paths)}")
            elementwise = ("values", "pixels")
        else:
            elementwise = ("values", "angles", "paths")
        arrays = {n: getattr(self, n) for n in elementwise if getattr(self, n) is not None}
        self.shape = _np.broadcast_shapes(*(a.shape for a in arrays.values()))
        for n, array in arrays.items():
            setattr(self, n, _np.broadcast_to(array, self.shape))
        self.given = (values, angle, path, pixel)
        self.masked = any(isinstance(a, _np.ma.MaskedArray) for a in self.given)
        self.array = isinstance(values, _np.ndarray) or len(self.shape) > 0

    def mask(self, needs_angle, needs_path):
        """The elements not to convert: masked values and pixels, and masked geometry where it
        is read."""
        values, angle, path, pixel = (_np.ma.getmask(a) for a in self.given)
        mask = _np.ma.mask_or(values, pixel)
        for needed, geometry in ((needs_angle, angle), (needs_path, path)):
            if needed and geometry is not _np.ma.nomask and self.pixels is not None:
                geometry = _np.take(geometry, self.pixels, mode="clip")
            if needed:
                mask = _np.ma.mask_or(mask, geometry)
        return mask if mask is _np.ma.nomask else _np.broadcast_to(mask, self.shape)

    def index(self, flat):
        """The index of the element at the flat index `flat`, counted over the whole array."""
        return _index(self.shape, flat, self.offset)

    def failing_number(self, field, flat):
        """The value, angle or flight path at fault for the element at the flat index."""
        if field == "value":
            return self.values.flat[flat].item()
        number, numbers = (self.angle, self.angles) if field == "angle" else (self.path,
                                                                              self.paths)
        if flat is None or numbers is None:
            return number
        if self.pixels is not None:
            return numbers[int(self.pixels.flat[flat]) - self.pixel_offset].item()
        return numbers.flat[flat].item()

    def operands(self, mask, result):
        """convert_array's arrays and numbers: values, angle, angles, path, paths, pixels, mask
        and result, those the iterator walks at least one-dimensional (the tables are
        one-dimensional already)."""
        walked = _one_element if self.shape == () else (lambda a: a)
        tables = self.pixels is not None
        return (walked(self.values), self.angle, self.angles if tables else walked(self.angles),
                self.path, self.paths if tables else walked(self.paths), walked(self.pixels),
                walked(mask), walked(result))

    def convert(self, source, target, rounded, errors, out=None, constants="classic"):
        mask = self.mask(*_pevrand.geometry_needed(source, target)) if self.masked else None
        dtype = _result_dtype(constants)
        result = _np.empty(self.shape, dtype=dtype) if out is None else _out(out, self.shape,
                                                                            dtype)
        # (An out that overlaps an input is written through a copy of numpy's iterator.)
        failure = _pevrand.convert_array(
            *self.operands(None if mask is None or mask is _np.ma.nomask else mask, result),
            source,
            target,
            bool(rounded),
            errors == "raise",
            self.pixel_offset,
            constants,
        )
        if failure is not None:
            self.fail(*failure)
        if self.masked:
            return _np.ma.MaskedArray(result, mask=mask if mask is _np.ma.nomask else mask.copy())
        if out is not None:
            return out
        return result if self.array else result[()]

    def fail(self, flat, message, field, pixel, outside):
        if outside:
            raise _outside_tables(int(self.pixels.flat[flat]), self.index(flat),
                                  (self.angles, self.paths), self.pixel_offset)
        number = self.failing_number(field, flat)
        raise ConversionError(message, None if flat is None else self.index(flat), number, field,
                              pixel)


def _one_element(array):
    """A 0-d array as a view of one element: numpy's buffered iterator reads a 0-d operand
    wrongly (numpy 1.24)."""
    return array.reshape(1) if isinstance(array, _np.ndarray) and array.ndim == 0 else array


def _pixel_offset(offset):
    if not isinstance(offset, _numbers.Integral) or isinstance(offset, bool):
        raise TypeError(f"pixel_offset must be an integer, not {type(offset).__name__}")
    if not -2**63 <= offset < 2**63:
        raise ValueError(f"pixel_offset {offset} is beyond the int64 range")
    return int(offset)


def _constants(constants):
    names = [name for name, _, _ in _EDITIONS]
    if constants not in names:
        raise ValueError(f"constants must be one of {', '.join(map(repr, names))}, not "
                         f"{constants!r}")
    return constants


def _errors(errors):
    if errors not in ("raise", "nan"):
        raise ValueError(f"errors must be 'raise' or 'nan', not {errors!r}")
    return errors


def _collections_for(*arguments):
    """The module for dask arrays and xarray DataArrays when any argument is one, else None:
    neither library is imported by pevrand unless the caller has already imported it."""
    xarray, dask_array = _sys.modules.get("xarray"), _sys.modules.get("dask.array")
    if (xarray is not None and any(isinstance(a, xarray.DataArray) for a in arguments)) or (
        dask_array is not None and any(isinstance(a, dask_array.Array) for a in arguments)
    ):
        from . import _collections as collections

        return collections
    return None


def _numpy_call(kind, given, offset, options):
    """A module function on numpy arrays and numbers: `given` its arguments by name, `offset`
    where this block of a larger array starts (for the indices errors name)."""
    if kind == "convert":
        arguments = _Arguments(given["values"], given["angle"], given["path"], given["pixel"],
                               offset, pixel_offset=options["pixel_offset"])
        return arguments.convert(options["source"], options["target"], options["rounded"],
                                 options["errors"], constants=options["constants"])
    from . import _events

    return _events.numpy_call(kind, given, offset, options)


def convert(values, source, target, *, angle=None, path=None, pixel=None, rounded=True,
            errors="raise", out=None, constants="classic", pixel_offset=0):
    """Converts values from the quantity `source` to the quantity `target` as the window does.

    values   a number, or anything numpy turns into an array of real numbers, of any shape,
             dtype and layout, read as it is (float32, float16 and integers are not copied to
             float64). Each value goes in as the single-precision number nearest to it, as if
             its shortest text had been typed into the window's input box (an int64 beyond
             2**53 is rounded once, straight to single). A numpy.ma.MaskedArray gives a masked
             array with the same mask: masked elements are not converted and never fail. A
             dask array gives a lazy dask array, an xarray.DataArray a DataArray (see below).
    source, target
             quantity names, with their units:
{quantity_lines}
             An unknown name raises ValueError.
    angle    the scattering angle 2 theta in degrees; read only when exactly one side is q or
             dspacing.
    path     the total flight path in metres; read only when exactly one side is tof.
             Each of angle and path is a number for every element, or an array of them:
             values, angle and path broadcast together by numpy's rules, and the result has
             their broadcast shape. A masked element of an angle or path array masks the
             result where it is read.
    pixel    for event data: each element's detector pixel, an integer array of any integer
             dtype broadcast with values. angle and path are then tables with one entry a
             pixel (one-dimensional arrays) or numbers, and each element takes its own pixel's
             entries; each pixel's geometry is checked and prepared once. A pixel that is
             negative or beyond a table raises IndexError; a pixel whose own angle or path is
             unusable fails only its own elements.
    pixel_offset
             an integer subtracted from each pixel before its table entry is looked up: a
             bank whose detector ids start at 100000 takes pixel_offset=100000.
    rounded  True: each result is the float32 nearest to the number that the window's output
             box shows (five significant figures), so that it prints as the window's text.
             False: the engine's single-precision result before that rounding. Use
             rounded=False for analysis (histograms, fits): five figures put the results on a
             comb of few distinct values, and a fine histogram of them has empty bins.
    constants
             the edition of the physical constants: "classic" (the window's factors and
             single-precision steps, the default), "codata2018" or "codata2022" (computed in
             double precision from the CODATA values; see constants()). A CODATA edition reads
             each value as the double nearest to it and gives float64: with rounded, the double
             nearest to the five-significant-figure result. Another name raises ValueError.
    errors   "raise": an element that fails (a value not positive, NaN or out of range for the
             conversion, or its angle or flight path unusable) raises ConversionError with the
             window's message, the first failing index, and the number at fault (.value,
             .field). "nan": such an element gives NaN and the others convert. A missing or
             unusable angle or flight path given as a scalar raises ConversionError either way,
             whatever the values (after a value that fails first under "raise", as in the
             window).
    out      an array of the broadcast shape (any strides, either byte order; float32, or
             float64 for a CODATA edition) to write the results into; then nothing full-size is
             allocated and out is returned. Of another shape it raises ValueError, of another
             dtype TypeError. Where an element fails under "raise", out holds the results
             before it.

    Returns a new float32 (float64 for a CODATA edition) array of the broadcast shape, or a
    numpy scalar of that type when values and geometry are all scalars.

    With a dask array among values, angle, path and pixel, the result is a lazy dask array
    whose blocks the module converts (on a dask.distributed cluster too), with the same bits;
    under "raise", compute() raises ConversionError with the index over the whole array. With
    an xarray.DataArray, the result is a DataArray with the same dims, coordinates and name
    and attrs["units"] naming the target's unit; geometry DataArrays align and broadcast by
    xarray's rules (with pixel, they are the tables). The classic constants (81.787 meV Å², ...)
    are those of the window and differ from CODATA 2022's by up to about 0.021% (E and
    lambda); constants="codata2022" matches a facility's reduction software.

    >>> convert(25, "energy", "wavelength")
    1.8087
    >>> convert([25, -1], "meV", "lambda", errors="nan")
    array([1.8087,    nan], dtype=float32)
    >>> convert([[2.0], [3.0]], "dspacing", "tof", angle=[30, 90], path=10)
    array([[ 2617.4,  7150.8],
           [ 3926.1, 10726. ]], dtype=float32)
    >>> convert([4000.0, 4000.0, 8000.0], "tof", "dspacing", pixel=[1, 0, 1],
    ...         angle=[30.0, 90.0], path=[10.0, 12.5], rounded=False)
    array([0.895006 , 3.0565023, 1.790012 ], dtype=float32)
    >>> convert(25, "meV", "wavelength", constants="codata2022")
    1.8089
    """
    _name(source, "source")
    _name(target, "target")
    _errors(errors)
    _constants(constants)
    collections = _collections_for(values, angle, path, pixel)
    if collections is not None:
        target_name = _pevrand.quantity_name(target)
        return collections.run(collections.Call(
            "convert", {"values": values, "angle": angle, "path": path, "pixel": pixel},
            ("angle", "path") if pixel is not None else (),
            {"source": source, "target": target, "rounded": rounded, "errors": errors,
             "constants": constants, "pixel_offset": pixel_offset},
            _result_dtype(constants), target_name, collections.UNITS[target_name],
            {"values": (collections.UNITS[_pevrand.quantity_name(source)],
                        f"the values ({_pevrand.quantity_name(source)})"),
             "angle": ("deg", "the angle"), "path": ("m", "the flight path")}), out)
    return _Arguments(values, angle, path, pixel, pixel_offset=pixel_offset).convert(
        source, target, rounded, errors, out, constants)


convert.__doc__ = convert.__doc__.replace("{quantity_lines}", _quantity_lines(" " * 13))
quantities.__doc__ = _filled(quantities.__doc__, "{names}", ", ".join(quantities()))


def convert_all(values, source, *, angle=None, path=None, pixel=None, rounded=True,
                errors="raise", constants="classic", pixel_offset=0):
    """Converts values from `source` to every quantity, as ``pevrand-convert SOURCE all`` does.

    Returns a dict from each quantity's name to what convert gives for it, in the order of
    quantities(), the source included. A quantity that needs an angle or a flight path that
    was not given is left out; the arguments are those of convert.

    >>> convert_all(25, "meV")["wavelength"]
    1.8087
    >>> list(convert_all(25, "meV", angle=90))[-2:]
    ['q', 'dspacing']
    """
    _name(source, "source")
    _errors(errors)
    _constants(constants)
    lazy = _collections_for(values, angle, path, pixel) is not None
    arguments = None if lazy else _Arguments(values, angle, path, pixel,
                                             pixel_offset=pixel_offset)
    results = {}
    for target in quantities():
        needs_angle, needs_path = _pevrand.geometry_needed(source, target)
        if (needs_angle and angle is None) or (needs_path and path is None):
            continue
        if lazy:
            results[target] = convert(values, source, target, angle=angle, path=path,
                                      pixel=pixel, rounded=rounded, errors=errors,
                                      constants=constants, pixel_offset=pixel_offset)
        else:
            results[target] = arguments.convert(source, target, rounded, errors,
                                                constants=constants)
    return results


def convert_text(value_text, source, target, *, angle_text="", path_text="",
                 constants="classic"):
    """The window's Convert command on the texts of its three boxes.

    Returns (output_text, message): the text the output box shows and an empty message, or an
    empty output and the message the window shows, exactly as the window would.

    >>> convert_text("25", "meV", "wavelength")
    ('1.8087', '')
    >>> convert_text("2,5", "meV", "wavelength")
    ('', 'Use a period as the decimal point')
    >>> convert_text("25", "meV", "wavelength", constants="codata2022")
    ('1.8089', '')
    """
    texts = []
    for text, what in ((value_text, "value_text"), (angle_text, "angle_text"),
                       (path_text, "path_text")):
        if not isinstance(text, str):
            raise TypeError(f"{what} must be a str, not {type(text).__name__}")
        # Whatever follows the number does not matter, lone surrogates included.
        texts.append(text.encode("utf-8", "surrogatepass"))
    return _pevrand.convert_text(texts[0], _name(source, "source"), _name(target, "target"),
                                 texts[1], texts[2], _constants(constants))


def constants(edition="classic"):
    """The factors of an edition of the constants, each relating the neutron energy E in meV to
    a quantity, and the neutron mass it takes:

    energy_wavelength   E * lambda**2, meV Å²        energy_wavevector   E / k**2, meV Å²
    energy_frequency    E / nu, meV/THz              energy_velocity     E / v**2, meV s²/m²
    energy_temperature  E / T, meV/K                 energy_wavenumber   E / wavenumber, meV cm
    neutron_mass        kg (None for classic, whose factors are numbers of their own)

    The CODATA editions' factors are worked out from the exact SI constants h, e, k_B and c
    and the edition's neutron mass; editions() names their sources.

    >>> constants("classic")["energy_wavelength"]
    81.787
    >>> round(constants("codata2022")["energy_wavelength"], 4)
    81.8042
    """
    return dict(_pevrand.constants(_constants(edition)))


def editions():
    """The editions of the constants, in order, classic (the default) first: a dict from each
    name to (title, source)."""
    return {name: (title, source) for name, title, source in _EDITIONS}


# The event conversions beyond the elastic ones, which use the helpers above.
from ._events import (dspacing_to_tof, energy_transfer, momentum_transfer,  # noqa: E402
                      tof_to_dspacing)
