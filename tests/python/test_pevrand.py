"""The pevrand module against the window's command: names, arrays, errors, texts, all pairs.

Expected numbers come from this build's pevrand-convert (PEVRAND_CONVERT), never typed in.
"""
import doctest
import os
import re
import subprocess
import sys

import numpy as np
import pytest

import pevrand

CONVERT = os.environ["PEVRAND_CONVERT"]
GEOMETRY = {"angle": 90, "path": 10}


def window(source, target, *values):
    """What the window shows for each value, as pevrand-convert prints it."""
    out = subprocess.run([CONVERT, "--angle", "90", "--path", "10", source, target, *values],
                         capture_output=True, text=True)
    return out.stdout.splitlines()


def shown(texts):
    """The float32 nearest to each output box text; NaN for an empty box."""
    return np.array([float(t) if t else np.nan for t in texts], dtype=np.float32)


# An alias, the one matched with its case, one beyond ASCII, and a name in capitals: the
# command's own tests go through the rest of the shared table.
@pytest.mark.parametrize("alias,name", [
    ("meV", "energy"), ("K", "temperature"), ("µs", "tof"), ("ENERGY", "energy"),
])
def test_an_alias_names_its_quantity_both_ways(alias, name):
    for source, target in ((alias, "tof"), ("tof", alias)):
        expected = pevrand.convert(3.0, source.replace(alias, name), target.replace(alias, name),
                                   **GEOMETRY)
        assert pevrand.convert(3.0, source, target, **GEOMETRY) == expected


@pytest.mark.parametrize("name", ["k", "all", ""])
def test_an_unknown_name_lists_the_valid_ones(name):
    with pytest.raises(ValueError, match=r"energy \(meV\).*tof \(time-of-flight"):
        pevrand.convert(1.0, name, "energy")
    with pytest.raises(ValueError, match="energy"):
        pevrand.convert_text("1", "energy", name)


def test_the_unknown_name_message_lists_each_name_once_as_help_does():
    with pytest.raises(ValueError) as raised:
        pevrand.convert(1.0, "joule", "energy")
    listed = re.findall(r"[^ ,()]+", str(raised.value).split(": ", 1)[1])
    helped = subprocess.run([CONVERT, "--help"], capture_output=True, text=True).stdout
    assert len(listed) == len(set(listed)) == 23 and "\u039cs" not in listed
    assert all(f" {name}" in helped for name in listed)


def test_the_documented_examples_hold():
    assert doctest.testmod(pevrand).failed == doctest.testmod(pevrand._events).failed == 0


def test_the_stub_passes_mypy_strict_and_promises_what_comes_back(tmp_path):
    usage = os.path.join(os.path.dirname(__file__), "stub_usage.py")
    package = os.path.dirname(os.path.dirname(pevrand.__file__))
    checked = subprocess.run(["mypy", "--strict", "--cache-dir", str(tmp_path), usage],
                             capture_output=True, text=True, cwd=tmp_path,
                             env=dict(os.environ, MYPYPATH=package))
    assert checked.returncode == 0, checked.stdout + checked.stderr
    ran = subprocess.run([sys.executable, usage], capture_output=True, text=True, env=os.environ)
    assert ran.returncode == 0, ran.stderr


def test_quantities_and_version():
    assert pevrand.quantities() == ["energy", "wavelength", "nu", "velocity", "momentum",
                                    "temperature", "invcm", "q", "dspacing", "tof"]
    assert pevrand.__version__ == "2.1.0"
    assert issubclass(pevrand.ConversionError, ValueError)


GRID = np.array([[0.5, 25.0, 3.0], [81.787, 1e-3, 7.0]])
SHAPES = {
    "list": [0.5, 25, 81.787],
    "2-D": GRID,
    "non-contiguous view": GRID.T[::2],
    "int32": np.array([1, 25, 300], dtype=np.int32),
    "float32": np.array([0.5, 25, 81.787], dtype=np.float32),
    "0-d array": np.array(25.0),
    "empty": np.zeros((0, 3)),
}


@pytest.mark.parametrize("values", SHAPES.values(), ids=SHAPES.keys())
def test_an_array_converts_element_by_element_into_a_new_float32_array(values):
    result = pevrand.convert(values, "meV", "wavelength")
    expected = np.asarray(values)
    assert isinstance(result, np.ndarray) and result.dtype == np.float32
    assert result.shape == expected.shape and result.flags.c_contiguous
    assert not np.shares_memory(result, expected)
    texts = window("meV", "wavelength", *(repr(float(v)) for v in expected.flat))
    np.testing.assert_array_equal(result.reshape(-1), shown(texts))


@pytest.mark.parametrize("value", [25, np.float64(25)])
def test_a_scalar_gives_a_numpy_scalar(value):
    result = pevrand.convert(value, "meV", "wavelength")
    assert type(result) is np.float32
    assert result == shown(window("meV", "wavelength", str(float(value))))[0]


@pytest.mark.parametrize("values", [["25"], [1 + 1j], None, "25"])
def test_what_is_not_a_real_number_is_refused(values):
    with pytest.raises(TypeError):
        pevrand.convert(values, "meV", "wavelength")


FAILURES = [
    # name, values, source, target, keywords, message, index
    ("not positive", [1, -1, 0], "meV", "lambda", {}, "Non-positive values not allowed", 1),
    ("NaN", [np.nan], "meV", "lambda", {}, "Non-positive values not allowed", 0),
    ("below the smallest single", [1, 1e-50], "meV", "lambda", {},
     "Non-positive values not allowed", 1),
    ("int beyond double", [1, 10**400], "meV", "lambda", {},
     "Value out of range for this conversion", 1),
    ("result underflows", [1, 1e-30], "dspacing", "energy", GEOMETRY,
     "Value out of range for this conversion", 1),
    ("2-D", [[1, 2], [3, -4]], "meV", "lambda", {}, "Non-positive values not allowed", (1, 1)),
    ("scalar", -5.0, "meV", "lambda", {}, "Non-positive values not allowed", None),
]


@pytest.mark.parametrize("values,source,target,keywords,message,index",
                         [row[1:] for row in FAILURES], ids=[row[0] for row in FAILURES])
def test_a_failing_value_raises_or_becomes_nan(values, source, target, keywords, message, index):
    with pytest.raises(pevrand.ConversionError) as raised:
        pevrand.convert(values, source, target, **keywords)
    assert (raised.value.message, raised.value.index) == (message, index)
    assert message in str(raised.value) and (index is None or str(index) in str(raised.value))

    result = pevrand.convert(values, source, target, errors="nan", **keywords)
    flat = np.asarray(values, dtype=object).reshape(-1)
    np.testing.assert_array_equal(np.ravel(result),
                                  shown(window(source, target, *(repr(v) for v in flat))))


GEOMETRY_FAILURES = [
    ("angle missing", "dspacing", "energy", {"path": 10}, "Scattering angle not specified"),
    ("angle NaN", "q", "energy", {"angle": np.nan}, "2 theta must be in the range 0 to 180 degrees"),
    ("path missing", "tof", "energy", {"angle": 90}, "Total flight path not specified"),
]


@pytest.mark.parametrize("source,target,keywords,message", [row[1:] for row in GEOMETRY_FAILURES],
                         ids=[row[0] for row in GEOMETRY_FAILURES])
def test_unusable_geometry_raises_under_either_policy(source, target, keywords, message):
    # No element is at fault for a scalar, so none is named. (A value that is not positive
    # fails first under "raise", as in the window: see the next test.)
    for errors, values in (("raise", [2.0, -1.0]), ("nan", [-1.0, 2.0])):
        with pytest.raises(pevrand.ConversionError) as raised:
            pevrand.convert(values, source, target, errors=errors, **keywords)
        assert (raised.value.message, raised.value.index, str(raised.value)) == (message, None,
                                                                                 message)
    with pytest.raises(pevrand.ConversionError) as raised:
        pevrand.convert([-1.0, 2.0], source, target, **keywords)
    assert (raised.value.message, raised.value.index) == ("Non-positive values not allowed", 0)


@pytest.mark.parametrize("values,errors", [([], "raise"), ([-1.0], "nan"),
                                           (np.ma.masked_all(2), "raise")],
                         ids=["empty", "every value fails first", "every value masked"])
def test_a_scalar_geometry_is_checked_whatever_the_values(values, errors):
    with pytest.raises(pevrand.ConversionError) as raised:
        pevrand.convert(values, "meV", "q", errors=errors)
    assert (raised.value.message, raised.value.index) == ("Scattering angle not specified", None)


def test_geometry_is_read_only_where_the_pair_needs_it():
    assert pevrand.convert(2.0, "q", "dspacing", angle=-5, path=0) == pevrand.convert(
        2.0, "q", "dspacing")


def test_unrounded_is_the_engines_single_before_the_rounding():
    # The start-up's 1.8087 before its rounding.
    assert pevrand.convert(25, "meV", "wavelength", rounded=False) == np.float32(1.8087233)
    values = np.geomspace(1e-3, 1e6, 1000)
    unrounded = pevrand.convert(values, "meV", "nu", rounded=False)
    rounded = pevrand.convert(values, "meV", "nu")
    assert np.all(np.abs(unrounded / rounded - 1) <= 5e-5) and np.any(unrounded != rounded)
    with pytest.raises(pevrand.ConversionError, match="out of range"):
        pevrand.convert(1e-30, "dspacing", "energy", angle=90, rounded=False)


TEXTS = [
    # value, source, target, angle, path, (output, message)
    ("25", "meV", "lambda", "", "", ("1.8087", "")),
    ("", "meV", "lambda", "", "", ("", "No input value specified")),
    ("2,5", "meV", "lambda", "", "", ("", "Use a period as the decimal point")),
    ("4 \ud800 junk", "lambda", "nu", "", "", ("1.2361", "")),
]


@pytest.mark.parametrize("value,source,target,angle,path,expected", TEXTS)
def test_convert_text_is_the_windows_command(value, source, target, angle, path, expected):
    assert pevrand.convert_text(value, source, target, angle_text=angle,
                                path_text=path) == expected


@pytest.mark.parametrize("source", pevrand.quantities())
def test_every_pair_matches_the_command_line(source):
    values = ["0.37", "25", "1234.5", "1e-20"]
    lines = window(source, "all", *values)
    for target in pevrand.quantities():
        texts = [line.split("\t")[1] for line in lines if line.split("\t")[0] == target]
        result = pevrand.convert([float(v) for v in values], source, target, errors="nan",
                                 **GEOMETRY)
        np.testing.assert_array_equal(result, shown(texts), target)
        assert [pevrand.convert_text(v, source, target, angle_text="90", path_text="10")[0]
                for v in values] == texts, target


ALL = [
    # name, source, keywords, the quantities converted to
    ("every quantity", "dspacing", GEOMETRY, pevrand.quantities()),
    ("no angle", "energy", {"path": 10}, pevrand.quantities()[:7] + ["tof"]),
    ("no geometry from q", "q", {}, ["q", "dspacing"]),
]


@pytest.mark.parametrize("source,keywords,targets", [row[1:] for row in ALL],
                         ids=[row[0] for row in ALL])
def test_convert_all_gives_each_convert_that_has_its_geometry(source, keywords, targets):
    values = np.array([[0.37, 25], [1234.5, -1]])
    results = pevrand.convert_all(values, source, errors="nan", **keywords)
    assert list(results) == targets
    for target, result in results.items():
        np.testing.assert_array_equal(
            result, pevrand.convert(values, source, target, errors="nan", **keywords))


def test_per_pixel_geometry_broadcasts_as_each_pixels_scalars():
    tofs = np.array([[1000.0, 2000.0, 4000.0], [3000.0, 5000.0, 6000.0]])
    angles, paths = np.array([30.0, 90.0, 150.0]), np.array([[10.0], [12.5]])
    result = pevrand.convert(tofs, "tof", "dspacing", angle=angles, path=paths)
    expected = [[pevrand.convert(tofs[i, j], "tof", "dspacing", angle=angles[j],
                                 path=paths[i, 0]) for j in range(3)] for i in range(2)]
    np.testing.assert_array_equal(result, np.array(expected, dtype=np.float32))
    # The shape is the broadcast one even where the pair reads no geometry.
    assert pevrand.convert(25, "meV", "lambda", angle=angles).shape == (3,)


ANGLE_RANGE = "2 theta must be in the range 0 to 180 degrees"
ELEMENT_FAILURES = [
    # name, source, target, keywords, message, index of the first element that fails
    ("angle out of range", "meV", "q", {"angle": [90, -1]}, ANGLE_RANGE, (0, 1)),
    ("angle NaN", "meV", "q", {"angle": [90, np.nan]}, ANGLE_RANGE, (0, 1)),
    ("path not positive", "tof", "meV", {"path": [[10], [0]]},
     "Total flight path must be positive", (1, 0)),
]


@pytest.mark.parametrize("source,target,keywords,message,index",
                         [row[1:] for row in ELEMENT_FAILURES],
                         ids=[row[0] for row in ELEMENT_FAILURES])
def test_an_elements_unusable_geometry_fails_that_element_only(source, target, keywords, message,
                                                               index):
    values = np.full((2, 2), 25.0)
    with pytest.raises(pevrand.ConversionError) as raised:
        pevrand.convert(values, source, target, **keywords)
    assert (raised.value.message, raised.value.index) == (message, index)
    result = pevrand.convert(values, source, target, errors="nan", **keywords)
    assert np.isnan(result).sum() == 2 and not np.isnan(result[0, 0])


def test_a_masked_array_keeps_its_mask_and_its_masked_elements_never_fail():
    values = np.ma.array([[25.0, -1.0], [np.nan, 81.787]], mask=[[0, 1], [1, 0]])
    result = pevrand.convert(values, "meV", "lambda")
    assert isinstance(result, np.ma.MaskedArray) and result.dtype == np.float32
    np.testing.assert_array_equal(result.mask, values.mask)
    np.testing.assert_array_equal(result.compressed(),
                                  pevrand.convert([25.0, 81.787], "meV", "lambda"))
    # A masked angle masks the elements that read it, and is not read elsewhere.
    angles = np.ma.array([90.0, -5.0], mask=[0, 1])
    masks = [np.ma.getmaskarray(pevrand.convert([25.0, 25.0], "meV", target, angle=angles))
             for target in ("q", "lambda")]
    np.testing.assert_array_equal(masks, [[0, 1], [0, 0]])
