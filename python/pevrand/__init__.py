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
detector pixel say, broadcast against the values; a masked array keeps its mask.

The quantities, with the other names they answer to (matched without regard to case, except
K): energy (meV), wavelength (lambda), nu (THz, frequency), velocity (m/s), momentum
(wavevector), temperature (K), invcm (cm-1, wavenumber), q, dspacing (d-spacing) and tof
(time-of-flight, us, µs). The angle 2 theta (degrees) is needed when exactly one side is q or
dspacing, the flight path (metres) when exactly one side is tof.
"""

import math as _math
import numbers as _numbers
from decimal import Decimal as _Decimal

try:
    import numpy as _np
except ImportError as _missing:
    raise ImportError("pevrand needs numpy: python -m pip install numpy") from _missing

from . import _pevrand

__version__ = _pevrand.__version__
__all__ = ["ConversionError", "convert", "convert_all", "convert_text", "quantities",
           "__version__"]


class ConversionError(ValueError):
    """A value that Pevrand can't convert.

    ``message`` is the message the window shows for it; ``index`` is the index of the element
    that failed (an int for a one-dimensional result, a tuple for more dimensions, None for a
    scalar, or when no element was at fault: an angle or flight path given as a scalar that is
    missing or unusable).
    """

    def __init__(self, message, index=None):
        self.message = message
        self.index = index
        super().__init__(message if index is None else f"{message} (at index {index})")


def quantities():
    """The ten quantities' names, in the window's order:
    energy, wavelength, nu, velocity, momentum, temperature, invcm, q, dspacing, tof."""
    return list(_pevrand.quantities())


def _name(name, what):
    if not isinstance(name, str):
        raise TypeError(f"{what} must be a quantity name (str), not {type(name).__name__}")
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
        return array
    if array.dtype.kind == "O" and all(
        isinstance(v, (_numbers.Real, _Decimal)) for v in array.flat
    ):
        return _np.array([_float(v) for v in array.flat], dtype=_np.float64).reshape(array.shape)
    raise TypeError(f"{what} must be real numbers, not {array.dtype} ({type(values).__name__})")


def _float64(array):
    # Aligned float64 in the machine's byte order, as the loop reads it; no copy when it is.
    array = _np.asarray(array, dtype=_np.float64)
    return array if array.flags.aligned else array.copy()


def _geometry(value, what):
    """(number, array) of an angle or flight path: a scalar, or an array of them."""
    if value is None:
        return None, None
    array = _real_array(value, what)
    if array.ndim == 0:
        return _float(array[()]), None
    return None, _float64(array)


class _Arguments:
    """The values, angles and flight paths of one call, broadcast to the result's shape."""

    def __init__(self, values, angle, path):
        self.values = _float64(_real_array(values, "values"))
        self.angle, self.angles = _geometry(angle, "angle")
        self.path, self.paths = _geometry(path, "path")
        self.shape = self.values.shape
        if self.angles is not None or self.paths is not None:
            arrays = [a for a in (self.values, self.angles, self.paths) if a is not None]
            self.shape = _np.broadcast_shapes(*(a.shape for a in arrays))
            self.values, self.angles, self.paths = (
                None if a is None else _np.broadcast_to(a, self.shape)
                for a in (self.values, self.angles, self.paths))
        self.masks = [_np.ma.getmask(a) for a in (values, angle, path)]
        self.masked = any(isinstance(a, _np.ma.MaskedArray) for a in (values, angle, path))
        self.array = isinstance(values, _np.ndarray) or len(self.shape) > 0

    def mask(self, needs_angle, needs_path):
        """The elements not to convert: masked values, and masked geometry where it is read."""
        mask = self.masks[0]
        for needed, geometry_mask in zip((needs_angle, needs_path), self.masks[1:]):
            if needed:
                mask = _np.ma.mask_or(mask, geometry_mask)
        return mask if mask is _np.ma.nomask else _np.broadcast_to(mask, self.shape)

    def convert(self, source, target, rounded, errors):
        mask = self.mask(*_pevrand.geometry_needed(source, target)) if self.masked else None
        result = _np.empty(self.shape, dtype=_np.float32)
        failure = _pevrand.convert_array(
            self.values,
            None if mask is _np.ma.nomask else mask,
            self.angle,
            self.angles,
            self.path,
            self.paths,
            result,
            source,
            target,
            bool(rounded),
            errors == "raise",
        )
        if failure is not None:
            index, message = failure
            if index is not None and result.ndim == 0:
                index = None
            elif index is not None and result.ndim > 1:
                index = tuple(int(i) for i in _np.unravel_index(index, result.shape))
            raise ConversionError(message, index)
        if self.masked:
            return _np.ma.MaskedArray(result, mask=mask if mask is _np.ma.nomask else mask.copy())
        return result if self.array else result[()]


def _errors(errors):
    if errors not in ("raise", "nan"):
        raise ValueError(f"errors must be 'raise' or 'nan', not {errors!r}")
    return errors


def convert(values, source, target, *, angle=None, path=None, rounded=True, errors="raise"):
    """Converts values from the quantity `source` to the quantity `target` as the window does.

    values   a number, or anything numpy turns into an array of real numbers, of any shape,
             dtype and layout. Each value goes in as the single-precision number nearest to
             it, as if its shortest text had been typed into the window's input box. A
             numpy.ma.MaskedArray gives a masked array with the same mask: masked elements
             are not converted and never fail.
    source, target
             quantity names: energy (meV), wavelength (lambda), nu (THz, frequency), velocity
             (m/s), momentum (wavevector), temperature (K), invcm (cm-1, wavenumber), q,
             dspacing (d-spacing), tof (time-of-flight, us, µs). An unknown name raises
             ValueError.
    angle    the scattering angle 2 theta in degrees; read only when exactly one side is q or
             dspacing.
    path     the total flight path in metres; read only when exactly one side is tof.
             Each of angle and path is a number for every element, or an array of them (one
             per detector pixel, say): values, angle and path broadcast together by numpy's
             rules, and the result has their broadcast shape. A masked element of an angle or
             path array masks the result where it is read.
    rounded  True: each result is the float32 nearest to the number that the window's output
             box shows (five significant figures), so that it prints as the window's text.
             False: the engine's single-precision result before that rounding.
    errors   "raise": an element that fails (a value not positive, NaN or out of range for the
             conversion, or its angle or flight path unusable) raises ConversionError with the
             window's message and the first failing index. "nan": such an element gives NaN
             and the others convert. A missing or unusable angle or flight path given as a
             scalar raises ConversionError either way, whatever the values (after a value that
             fails first under "raise", as in the window).

    Returns a new float32 array of the broadcast shape, or a numpy float32 when values and
    geometry are all scalars.

    >>> convert(25, "energy", "wavelength")
    1.8087
    >>> convert([25, -1], "meV", "lambda", errors="nan")
    array([1.8087,    nan], dtype=float32)
    >>> convert([[2.0], [3.0]], "dspacing", "tof", angle=[30, 90], path=10)
    array([[ 2617.4,  7150.8],
           [ 3926.1, 10726. ]], dtype=float32)
    """
    _name(source, "source")
    _name(target, "target")
    _errors(errors)
    return _Arguments(values, angle, path).convert(source, target, rounded, errors)


def convert_all(values, source, *, angle=None, path=None, rounded=True, errors="raise"):
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
    arguments = _Arguments(values, angle, path)
    results = {}
    for target in quantities():
        needs_angle, needs_path = _pevrand.geometry_needed(source, target)
        if (needs_angle and angle is None) or (needs_path and path is None):
            continue
        results[target] = arguments.convert(source, target, rounded, errors)
    return results


def convert_text(value_text, source, target, *, angle_text="", path_text=""):
    """The window's Convert command on the texts of its three boxes.

    Returns (output_text, message): the text the output box shows and an empty message, or an
    empty output and the message the window shows, exactly as the window would.

    >>> convert_text("25", "meV", "wavelength")
    ('1.8087', '')
    >>> convert_text("2,5", "meV", "wavelength")
    ('', 'Use a period as the decimal point')
    """
    texts = []
    for text, what in ((value_text, "value_text"), (angle_text, "angle_text"),
                       (path_text, "path_text")):
        if not isinstance(text, str):
            raise TypeError(f"{what} must be a str, not {type(text).__name__}")
        # Whatever follows the number does not matter, lone surrogates included.
        texts.append(text.encode("utf-8", "surrogatepass"))
    return _pevrand.convert_text(texts[0], _name(source, "source"), _name(target, "target"),
                                 texts[1], texts[2])
