"""Pevrand : Neutron Units Converter, for Python.

Converts neutron quantities with exactly the numbers that the Pevrand window shows, bit for
bit, for a single value or a whole numpy array::

    >>> import pevrand
    >>> pevrand.convert(25, "meV", "wavelength")
    1.8087
    >>> pevrand.convert([1.0, 2.0], "dspacing", "tof", angle=90, path=12.5)
    array([4469.2, 8938.5], dtype=float32)

The quantities, with the other names they answer to (matched without regard to case, except
K): energy (meV), wavelength (lambda), nu (THz, frequency), velocity (m/s), momentum
(wavevector), temperature (K), invcm (cm-1, wavenumber), q, dspacing (d-spacing) and tof
(time-of-flight, us, µs). The angle 2 theta (degrees) is needed when exactly one side is q or
dspacing, the flight path (metres) when exactly one side is tof.
"""

import math as _math
import numbers as _numbers
from decimal import Decimal as _Decimal

import numpy as _np

from . import _pevrand

__version__ = _pevrand.__version__
__all__ = ["ConversionError", "convert", "convert_text", "quantities", "__version__"]


class ConversionError(ValueError):
    """A value that Pevrand can't convert.

    ``message`` is the message the window shows for it; ``index`` is the index of the first
    value that failed (an int for a one-dimensional array, a tuple for more dimensions, None
    for a scalar).
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


def _real_array(values):
    array = _np.asarray(values)
    if array.dtype.kind in "biuf":
        return array
    if array.dtype.kind == "O" and all(
        isinstance(v, (_numbers.Real, _Decimal)) for v in array.flat
    ):
        return _np.array([_float(v) for v in array.flat], dtype=_np.float64).reshape(array.shape)
    raise TypeError(f"values must be real numbers, not {array.dtype} ({type(values).__name__})")


def _number(value, what):
    if value is None:
        return None
    array = _np.asarray(value)
    if array.ndim != 0 or array.dtype.kind not in "biuf":
        raise TypeError(f"{what} must be a real number, not {type(value).__name__}")
    return float(array)


def convert(values, source, target, *, angle=None, path=None, rounded=True, errors="raise"):
    """Converts values from the quantity `source` to the quantity `target` as the window does.

    values   a number, or anything numpy turns into an array of real numbers, of any shape,
             dtype and layout. Each value goes in as the single-precision number nearest to
             it, as if its shortest text had been typed into the window's input box.
    source, target
             quantity names: energy (meV), wavelength (lambda), nu (THz, frequency), velocity
             (m/s), momentum (wavevector), temperature (K), invcm (cm-1, wavenumber), q,
             dspacing (d-spacing), tof (time-of-flight, us, µs). An unknown name raises
             ValueError.
    angle    the scattering angle 2 theta in degrees; read only when exactly one side is q or
             dspacing.
    path     the total flight path in metres; read only when exactly one side is tof.
    rounded  True: each result is the float32 nearest to the number that the window's output
             box shows (five significant figures), so that it prints as the window's text.
             False: the engine's single-precision result before that rounding.
    errors   "raise": a value that fails (not positive, NaN, out of range for the conversion)
             raises ConversionError with the window's message and the first failing index.
             "nan": such a value gives NaN and the others convert. A missing or unusable
             angle or flight path raises ConversionError either way.

    Returns a new float32 array of the shape of `values`, or a numpy float32 for a scalar.

    >>> convert(25, "energy", "wavelength")
    1.8087
    >>> convert([25, -1], "meV", "lambda", errors="nan")
    array([1.8087,    nan], dtype=float32)
    """
    _name(source, "source")
    _name(target, "target")
    if errors not in ("raise", "nan"):
        raise ValueError(f"errors must be 'raise' or 'nan', not {errors!r}")
    array = _real_array(values)
    flat = _np.asarray(array, dtype=_np.float64, order="C").reshape(-1)
    result = _np.empty(array.shape, dtype=_np.float32)
    failure = _pevrand.convert_into(
        flat,
        result.reshape(-1),
        source,
        target,
        _number(angle, "angle"),
        _number(path, "path"),
        bool(rounded),
        errors == "raise",
    )
    if failure is not None:
        index, message = failure
        if array.ndim == 0:
            index = None
        elif array.ndim > 1:
            index = tuple(int(i) for i in _np.unravel_index(index, array.shape))
        raise ConversionError(message, index)
    if isinstance(values, _np.ndarray):
        return result
    return result[()] if result.ndim == 0 else result


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
