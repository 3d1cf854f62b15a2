"""The conversions of event data beyond the elastic ones: energy transfer on direct- and
indirect-geometry spectrometers, momentum transfer, and a calibrated diffractometer's d-spacing
from time-of-flight and back. Each runs in C++ in one pass over the events, on every core, with
per-pixel tables prepared once a pixel, and gives float64.
"""
import numbers as _numbers

import numpy as _np

from . import (ConversionError, _collections_for, _constants, _errors, _index, _one_element,
               _out, _outside_tables, _pevrand, _pixel_offset, _pixels, _real_array)

# Each conversion: the name of the values' argument, and each parameter's name in the order the
# engine takes them. The energy conversions' fixed energy is "ei" or "ef", whichever is given.
PARAMETERS = {
    "energy_transfer": ("tof", ("l1", "l2", "fixed")),
    "momentum_transfer": ("energy_transfer", ("angle", "fixed")),
    "tof_to_dspacing": ("tof", ("difc", "difa", "tzero")),
    "dspacing_to_tof": ("d", ("difc", "difa", "tzero")),
}
# What each conversion gives, as a DataArray's name and unit, and each argument's unit.
TRANSFER_UNITS = {"meV": "meV", "cm-1": "cm⁻¹", "THz": "THz"}
ARGUMENT_UNITS = {"tof": "µs", "d": "Å", "l1": "m", "l2": "m", "ei": "meV", "ef": "meV",
                  "angle": "deg", "difc": "µs/Å", "difa": "µs/Å²", "tzero": "µs"}


def _fixed(ei, ef):
    if (ei is None) == (ef is None):
        raise ValueError("give exactly one of ei (direct geometry: the incident energy) and ef "
                         "(indirect geometry: the final energy), in meV")
    return ("ei", ei) if ef is None else ("ef", ef)


def _unit(unit):
    if unit not in TRANSFER_UNITS:
        raise ValueError(f"unit must be 'meV', 'cm-1' or 'THz', not {unit!r}")
    return unit


def _parameter(value, name, tables):
    """(number, array) of a parameter: a scalar, or an array over the events (with pixel= a
    one-dimensional table with an entry a pixel)."""
    if value is None:
        raise TypeError(f"{name} must be given")
    array = _real_array(value, name)
    if array.ndim == 0:
        return float(array[()]), None
    if tables and array.ndim != 1:
        raise ValueError(f"with pixel, {name} must be a number or a table with an entry a pixel "
                         f"(one dimension), not of shape {array.shape}")
    return None, array


def _refuse_masks(given):
    for name, value in given.items():
        if isinstance(value, _np.ma.MaskedArray):
            raise TypeError(f"{name} is a masked array: give its .filled(...) data, or "
                            f".compressed() values with the matching pixels")


def numpy_call(kind, given, offset, options, out=None):
    """One event conversion on numpy arrays and numbers, by the arguments' names (the fixed
    energy's as options["fixed"] names it)."""
    value_name, parameter_names = PARAMETERS[kind]
    names = [options["fixed"] if n == "fixed" else n for n in parameter_names]
    _refuse_masks(given)
    values = _real_array(given[value_name], value_name)
    pixels = None if given.get("pixel") is None else _pixels(given["pixel"])
    tables = pixels is not None
    parameters = {n: _parameter(given[n], n, tables) for n in names}
    over_events = [values] + ([pixels] if tables else
                              [a for _, a in parameters.values() if a is not None])
    shape = _np.broadcast_shapes(*(a.shape for a in over_events))
    result = (_np.empty(shape, _np.float64) if out is None
              else _out(out, shape, _np.dtype(_np.float64)))
    walked = _one_element if shape == () else (lambda a: a)
    failure = _pevrand.convert_events(
        kind, walked(_np.broadcast_to(values, shape)), value_name,
        [(n, number, array if tables else (None if array is None else
                                           walked(_np.broadcast_to(array, shape))))
         for n, (number, array) in parameters.items()],
        None if pixels is None else walked(_np.broadcast_to(pixels, shape)), walked(result),
        options["fixed"] or "", options.get("unit", "meV"), options["constants"],
        options["errors"] == "raise", options["pixel_offset"])
    if failure is not None:
        _fail(failure, shape, offset, values, pixels, parameters, value_name, options)
    if out is not None:
        return out
    array = isinstance(given[value_name], _np.ndarray) or len(shape) > 0
    return result if array else result[()]


def _fail(failure, shape, offset, values, pixels, parameters, value_name, options):
    flat, message, field, pixel, outside = failure
    index = None if flat is None else _index(shape, flat, offset)
    if outside:
        raise _outside_tables(int(_np.broadcast_to(pixels, shape).flat[flat]), index,
                              [a for _, a in parameters.values()], options["pixel_offset"])
    if field == value_name:
        number = _np.broadcast_to(values, shape).flat[flat].item()
    else:
        scalar, array = parameters[field]
        if array is None:
            number = scalar
        elif pixel is not None:
            number = array[pixel - options["pixel_offset"]].item()
        else:
            number = _np.broadcast_to(array, shape).flat[flat].item()
    if field != value_name:
        message = f"{field} must be {_REQUIREMENTS[field]}"
    raise ConversionError(message, index, number, field, pixel)


# What a parameter must be, for its message.
_REQUIREMENTS = {"l1": "positive and finite (metres)", "l2": "positive and finite (metres)",
                 "ei": "positive and finite (meV)", "ef": "positive and finite (meV)",
                 "angle": "in the range 0 to 180 degrees", "difc": "positive and finite",
                 "difa": "finite", "tzero": "finite"}


def _call(kind, given, fixed, unit, constants, errors, out, pixel_offset, name, units):
    _errors(errors)
    _constants(constants)
    options = {"fixed": fixed, "unit": unit, "constants": constants, "errors": errors,
               "pixel_offset": _pixel_offset(pixel_offset)}
    collections = _collections_for(*given.values())
    if collections is not None:
        value_name, parameter_names = PARAMETERS[kind]
        tables = tuple(n for n in given if n not in (value_name, "pixel")) \
            if given.get("pixel") is not None else ()
        expected = {n: (ARGUMENT_UNITS[n], n) for n in given if n in ARGUMENT_UNITS}
        if kind == "momentum_transfer":
            expected["energy_transfer"] = (TRANSFER_UNITS[unit], "energy_transfer")
        return collections.run(collections.Call(kind, given, tables, options,
                                                _np.dtype(_np.float64), name, units, expected),
                               out)
    return numpy_call(kind, given, None, options, out)


def energy_transfer(tof, *, l1, l2, ei=None, ef=None, unit="meV", pixel=None,
                    constants="classic", errors="raise", out=None, pixel_offset=0):
    """The energy transfer dE = Ei - Ef of each event from its time-of-flight.

    tof      each event's time-of-flight in µs from the source pulse, any real dtype (float32
             times are read as they are).
    l1, l2   the flight paths in metres: source to sample, and sample to detector.
    ei, ef   exactly one, in meV: ei, the incident energy that choppers fix (direct geometry),
             or ef, the final energy that analyser crystals fix (indirect geometry).
    unit     "meV", "cm-1" (dE over the edition's E/wavenumber) or "THz" (dE over E/nu).

    Direct: vi from Ei; t2 = tof - l1/vi; vf = l2/t2; then Ef from vf. Indirect: vf from Ef;
    t1 = tof - l2/vf; vi = l1/t1; then Ei from vi. E = (E/v^2) v^2 with the edition's factor
    (classic: 5.2276e-06 meV s²/m², in double precision). dE > 0 is energy given to the sample.

    An event whose time is not positive and finite, or whose t2 (direct) or t1 (indirect) is not
    positive (the neutron could not have arrived then), fails; so does a flight path or fixed
    energy that is not positive and finite where it comes from an array or a table (its own
    events only). As a scalar it raises ConversionError whatever the events, with no index.

    With pixel= (an integer array the shape of the events), every array among l1, l2, ei and ef
    is a table with an entry a pixel (id p at position p - pixel_offset); scalars apply to every
    event. errors, out (float64), constants, dask and xarray are as in convert; the result is
    float64, ConversionError.field names the argument at fault ("tof", "l1", "l2", "ei" or
    "ef"). An unknown unit raises ValueError; a pixel outside the tables IndexError.

    >>> round(float(energy_transfer(5000.0, l1=10.0, l2=4.0, ei=25.0)), 4)
    -433.2871
    """
    fixed, energy = _fixed(ei, ef)
    given = {"tof": tof, "l1": l1, "l2": l2, fixed: energy, "pixel": pixel}
    return _call("energy_transfer", given, fixed, _unit(unit), constants, errors, out,
                 pixel_offset, "energy_transfer", TRANSFER_UNITS[unit])


def momentum_transfer(energy_transfer, *, angle, ei=None, ef=None, unit="meV", pixel=None,
                      constants="classic", errors="raise", out=None, pixel_offset=0):
    """The momentum transfer |Q| in Å⁻¹ of each event from its energy transfer.

    energy_transfer
             each event's dE = Ei - Ef, in `unit` ("meV", "cm-1" or "THz").
    angle    the scattering angle 2 theta in degrees, 0 to 180, as in convert.
    ei, ef   exactly one, in meV, as in energy_transfer.

    Ef = Ei - dE (direct) or Ei = Ef + dE (indirect); an event where that energy is not
    positive fails. ki = sqrt(Ei / (E/k²)) and kf likewise, with the edition's E/k²;
    Q = sqrt(ki² + kf² - 2 ki kf cos 2theta), worked out as sqrt((ki - kf)² + 4 ki kf sin²theta),
    which loses nothing to cancellation. At dE = 0 it is convert's Q for that energy.

    pixel=, errors, out, constants, dask and xarray as in energy_transfer; the angle and the
    fixed energy may be per-pixel tables.

    >>> round(float(momentum_transfer(0.0, angle=90.0, ei=25.0, constants="codata2022")), 4)
    4.9122
    """
    fixed, energy = _fixed(ei, ef)
    given = {"energy_transfer": energy_transfer, "angle": angle, fixed: energy, "pixel": pixel}
    return _call("momentum_transfer", given, fixed, _unit(unit), constants, errors, out,
                 pixel_offset, "momentum_transfer", "Å⁻¹")


def tof_to_dspacing(tof, *, difc, difa=0.0, tzero=0.0, pixel=None, errors="raise", out=None,
                    pixel_offset=0):
    """Each event's d-spacing in Å from its time-of-flight in µs, with a diffractometer's
    calibration in the GSAS convention: tof = DIFC d + DIFA d² + TZERO (DIFC in µs/Å, DIFA in
    µs/Å², TZERO in µs). No physical constants are involved: a calibration is empirical.

    With D = tof - TZERO: where DIFA = 0, d = D / DIFC; otherwise
    d = 2D / (DIFC + sqrt(DIFC² + 4 DIFA D)), the root that tends to the linear one as DIFA goes
    to 0, without cancellation. An event fails where the time is not finite, the square root's
    argument is negative (beyond the turning point of a negative DIFA) or d is not positive; a
    DIFC that is not positive and finite, or a DIFA or TZERO that is not finite, fails its
    events (as a scalar: raises, whatever the events).

    pixel= makes each array among difc, difa and tzero a per-pixel table, as a calibration run
    gives them; errors, out (float64), dask and xarray as in convert.

    >>> float(tof_to_dspacing(10000.0, difc=5000.0, tzero=-10.0))
    2.002
    """
    given = {"tof": tof, "difc": difc, "difa": difa, "tzero": tzero, "pixel": pixel}
    return _call("tof_to_dspacing", given, None, "meV", "classic", errors, out, pixel_offset,
                 "dspacing", "Å")


def dspacing_to_tof(d, *, difc, difa=0.0, tzero=0.0, pixel=None, errors="raise", out=None,
                    pixel_offset=0):
    """Each d-spacing's time-of-flight in µs: DIFC d + DIFA d² + TZERO, as tof_to_dspacing
    calibrates it.

    A d-spacing fails where it is not positive and finite, or lies past the turning point of a
    negative DIFA (DIFC + 2 DIFA d not positive), where the time no longer rises with d and
    tof_to_dspacing could not bring it back. Parameters and keywords as in tof_to_dspacing.

    >>> float(dspacing_to_tof(2.0, difc=5000.0, difa=-2.0, tzero=3.0))
    9995.0
    """
    given = {"d": d, "difc": difc, "difa": difa, "tzero": tzero, "pixel": pixel}
    return _call("dspacing_to_tof", given, None, "meV", "classic", errors, out, pixel_offset,
                 "tof", "µs")
