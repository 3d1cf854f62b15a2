"""Event data: per-pixel tables, dtypes read as they are, out=, memory, dask and xarray.

Every expectation is the module's own element-by-element float64 call, whose bits the window's
rows in test_pevrand.py pin down.
"""
import os
import re
import subprocess
import sys

import dask.array as da
import numpy as np
import pytest
import xarray as xr
from distributed import Client, LocalCluster

import pevrand

RNG = np.random.default_rng(28)
TOF = RNG.uniform(500.0, 20000.0, 3000)
PIXELS = RNG.integers(0, 50, 3000)
ANGLES, PATHS = RNG.uniform(5.0, 175.0, 50), RNG.uniform(8.0, 14.0, 50)
BAD_ANGLES = np.where(np.arange(50) % 7 == 3, 190.0, ANGLES)  # 3, 10, 17, ... out of range

PIXEL_ROWS = [
    # name, source, target, values, pixels, angle table, path table
    ("tof to d, both tables", "tof", "dspacing", TOF, PIXELS, ANGLES, PATHS),
    ("uint16 pixels, a scalar path", "tof", "dspacing", TOF, PIXELS.astype(np.uint16), ANGLES, 11.0),
    ("a pixel's angle unusable", "tof", "q", TOF, PIXELS.astype(np.int8), BAD_ANGLES, PATHS),
    ("broadcast 2-D", "dspacing", "tof", np.geomspace(0.5, 5, 4)[:, None], PIXELS[:6], ANGLES, PATHS),
    ("tables not read", "meV", "lambda", TOF, PIXELS, ANGLES, PATHS),
]


@pytest.mark.parametrize("source,target,values,pixels,angles,paths",
                         [row[1:] for row in PIXEL_ROWS], ids=[row[0] for row in PIXEL_ROWS])
@pytest.mark.parametrize("rounded", [True, False])
def test_pixel_tables_give_the_gathered_per_element_call(source, target, values, pixels, angles,
                                                         paths, rounded):
    gathered = {"angle": angles[pixels], "path": paths if np.isscalar(paths) else paths[pixels]}
    outcomes = []
    for keywords in ({"pixel": pixels, "angle": angles, "path": paths}, gathered):
        result = pevrand.convert(values, source, target, rounded=rounded, errors="nan", **keywords)
        try:
            pevrand.convert(values, source, target, rounded=rounded, **keywords)
            raised = None
        except pevrand.ConversionError as error:
            raised = (error.message, error.index, error.value, error.field)
        outcomes.append((result, raised))
    np.testing.assert_array_equal(outcomes[0][0], outcomes[1][0])
    assert outcomes[0][1] == outcomes[1][1]


@pytest.mark.parametrize("pixels,offset,text", [
    ([0, -1], 0, "pixel -1 at index 1 is negative"),
    ([[0, 0], [50, 0]], 0, r"pixel 50 at index \(1, 0\) is outside the tables of 50 pixels"),
    (np.array([2**64 - 1], np.uint64), 0, "pixel 18446744073709551615 at index 0 is outside"),
    ([100000, 99999], 100000, "pixel 99999 at index 1 is below pixel_offset 100000"),
    ([100049, 100050], 100000,
     r"pixel 100050 at index 1 is outside the tables of 50 pixels \(pixels 100000 to 100049\)"),
], ids=["negative", "beyond, 2-D", "beyond int64", "below the offset", "beyond the offset's"])
def test_a_pixel_outside_the_tables_raises_index_error_whatever_the_policy(pixels, offset, text):
    with pytest.raises(IndexError, match=text):
        pevrand.convert(1000.0, "tof", "meV", pixel=pixels, path=PATHS, errors="nan",
                        pixel_offset=offset)


def test_ids_from_an_offset_take_their_own_entries_and_a_failing_entry_names_its_pixel():
    # A bank numbered from 100000, as a NeXus event_id holds it.
    ids = PIXELS + 100000
    np.testing.assert_array_equal(
        pevrand.convert(TOF, "tof", "q", pixel=ids, angle=BAD_ANGLES, path=PATHS, errors="nan",
                        pixel_offset=100000),
        pevrand.convert(TOF, "tof", "q", pixel=PIXELS, angle=BAD_ANGLES, path=PATHS,
                        errors="nan"))
    with pytest.raises(pevrand.ConversionError) as raised:
        pevrand.convert(TOF, "tof", "q", pixel=ids, angle=BAD_ANGLES, path=PATHS,
                        pixel_offset=100000)
    first = int(np.argmax(PIXELS % 7 == 3))
    error = raised.value
    assert (error.index, error.pixel, error.field, error.value) == (
        first, 100000 + PIXELS[first], "angle", 190.0)
    assert f"(pixel {100000 + PIXELS[first]}, at index {first})" in str(error)


# Each row's values are exact in float64, so the float64 call is the one nearest single.
NARROW = {dtype: np.array([1, 3, 100, 127], dtype=dtype)
          for dtype in ["f2", "f4", "i1", "u1", "i2", "u2", "i4", "u4", "i8", "u8", "g", ">f4"]}
NARROW["float16 subnormal, inf"] = np.array([2**-24, 6e-5, np.inf], dtype=np.float16)


@pytest.mark.parametrize("values", NARROW.values(), ids=NARROW.keys())
def test_narrow_dtypes_are_read_as_their_exact_values(values):
    for rounded in (True, False):
        np.testing.assert_array_equal(
            pevrand.convert(values, "meV", "lambda", rounded=rounded, errors="nan"),
            pevrand.convert(values.astype(np.float64), "meV", "lambda", rounded=rounded,
                            errors="nan"))


def test_an_int64_beyond_2_to_53_is_rounded_once_straight_to_single():
    # By way of a double it would round down to 2^60 + 2^36, a tie that goes to 2^60.
    big = 2**60 + 2**36 + 1
    for dtype in (np.int64, np.uint64):
        result = pevrand.convert(np.array([big], dtype), "meV", "meV", rounded=False)
        assert result[0] == np.float32(2**60 + 2**37)


def test_out_takes_any_strides_and_either_byte_order_and_is_returned():
    out = np.zeros((4, 6), np.float32)[::2, ::-2]
    result = pevrand.convert(TOF[:6].reshape(2, 3), "tof", "meV", path=10, out=out)
    assert result is out
    np.testing.assert_array_equal(out, pevrand.convert(TOF[:6].reshape(2, 3), "tof", "meV", path=10))
    values = TOF[:8].astype(np.float32)
    expected = pevrand.convert(values, "tof", "meV", path=10)
    pevrand.convert(values[::-1], "tof", "meV", path=10, out=values)  # overlapping, reversed
    np.testing.assert_array_equal(values, expected[::-1])
    swapped = np.empty(8, ">f4")
    pevrand.convert(TOF[:8], "tof", "meV", path=10, out=swapped)
    np.testing.assert_array_equal(swapped, pevrand.convert(TOF[:8], "tof", "meV", path=10))
    with pytest.raises(ValueError, match="shape"):
        pevrand.convert(TOF[:6], "tof", "meV", path=10, out=np.empty(5, np.float32))
    with pytest.raises(TypeError, match="float32"):
        pevrand.convert(TOF[:6], "tof", "meV", path=10, out=np.empty(6))


# Each call in a process of its own, its peak resident memory during the call as the kernel
# counts it (VmHWM, reset just before), less what was resident before and the result's own bytes.
MEMORY_PROBE = """
import sys, numpy as np, pevrand
def status(field):
    with open("/proc/self/status") as f:
        return next(int(line.split()[1]) * 1024 for line in f if line.startswith(field))
n = 2_000_000
values = np.linspace(1000.0, 20000.0, n, dtype=np.float32)
pixels = (np.arange(n) % 50).astype(np.int32)
angles, paths = np.linspace(5, 175, 50), np.linspace(8, 14, 50)
out = np.empty(n, np.float32)
calls = {
    "float32": lambda: pevrand.convert(values, "tof", "dspacing", angle=90, path=10),
    "int32 pixels": lambda: pevrand.convert(values, "tof", "dspacing", angle=angles, path=paths,
                                            pixel=pixels),
    "out": lambda: pevrand.convert(values, "tof", "dspacing", angle=90, path=10, out=out),
    "big-endian": lambda: pevrand.convert(values.astype(">f4"), "tof", "dspacing", angle=90,
                                          path=10, out=out.astype(">f4")),
}
name = sys.argv[1]
if name == "big-endian":  # the arrays made beforehand, so that only the call is measured
    values, out = values.astype(">f4"), out.astype(">f4")
    calls[name] = lambda: pevrand.convert(values, "tof", "dspacing", angle=90, path=10, out=out)
out[:] = 0
with open("/proc/self/clear_refs", "w") as f:
    f.write("5")
before = status("VmRSS:")
calls[name]()
print(status("VmHWM:") - before)
"""


@pytest.mark.parametrize("name,result_bytes", [("float32", 8_000_000), ("int32 pixels", 8_000_000),
                                               ("out", 0), ("big-endian", 0)])
def test_converting_takes_the_result_and_little_more_memory(name, result_bytes):
    # numpy's iterator casts and swaps in stretches of a few thousand elements a thread: nothing
    # of the array's size is copied, whatever the dtype or byte order.
    probe = subprocess.run([sys.executable, "-c", MEMORY_PROBE, name], capture_output=True,
                           text=True, check=True, env=os.environ)
    extra = int(probe.stdout) - result_bytes
    assert extra < 2 * 1024 * 1024, f"{name}: {extra} bytes beyond the result"


def test_numpy_alone_imports_neither_dask_nor_xarray():
    code = ("import sys, pevrand; pevrand.convert([1.0], 'meV', 'lambda', pixel=[0]); "
            "print(sorted(m for m in sys.modules if m.split('.')[0] in ('dask', 'xarray')))")
    shown = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                           check=True, env=os.environ)
    assert shown.stdout.strip() == "[]"


def lazy_events():
    values = da.from_array(TOF.reshape(30, 100), chunks=(7, 40))
    pixels = da.from_array(PIXELS.reshape(30, 100), chunks=(10, 25))
    return values, pixels


def test_a_dask_array_converts_lazily_and_counts_indices_over_the_whole_array():
    values, _ = lazy_events()
    failing = values.copy()
    failing[23, 77] = -4.0
    result = pevrand.convert(failing, "tof", "meV", path=10)
    assert isinstance(result, da.Array) and result.dtype == np.float32
    with pytest.raises(pevrand.ConversionError) as raised:
        result.compute()
    assert (raised.value.index, raised.value.value, raised.value.field) == ((23, 77), -4.0, "value")


def test_the_same_code_runs_on_a_two_process_cluster_with_the_same_bits():
    values, pixels = lazy_events()
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                      dashboard_address=None) as cluster, Client(cluster):
        result = pevrand.convert(values, "tof", "q", pixel=pixels, angle=da.from_array(BAD_ANGLES),
                                 path=PATHS, rounded=False, errors="nan").compute()
        with pytest.raises(pevrand.ConversionError) as raised:
            pevrand.convert(values, "tof", "q", pixel=pixels, angle=BAD_ANGLES, path=10).compute()
    np.testing.assert_array_equal(result, pevrand.convert(
        TOF.reshape(30, 100), "tof", "q", pixel=PIXELS.reshape(30, 100), angle=BAD_ANGLES,
        path=PATHS, rounded=False, errors="nan"))
    assert raised.value.field == "angle" and raised.value.value == 190.0


def test_a_dataarray_keeps_dims_and_coordinates_and_is_named_and_unitted_as_its_target():
    tof = xr.DataArray(TOF[:12].reshape(3, 4), dims=("bank", "event"), name="events",
                       coords={"bank": [1, 2, 3], "event": np.arange(4)}, attrs={"units": "µs"})
    angle = xr.DataArray([30.0, 60.0, 90.0], dims="bank", coords={"bank": [0, 1, 2]})
    for values in (tof, tof.chunk({"event": 2})):
        result = pevrand.convert(values, "tof", "dspacing", angle=angle, path=10.0)
        assert (result.dims, result.name, result.attrs) == (("bank", "event"), "dspacing",
                                                            {"units": "Å"})
        # Aligned on bank by xarray's rules: banks 1 and 2, with their own angles.
        np.testing.assert_array_equal(result.bank, [1, 2])
        np.testing.assert_array_equal(result.values, pevrand.convert(
            TOF[:8].reshape(2, 4), "tof", "dspacing", angle=[[60.0], [90.0]], path=10.0))
    assert pevrand.convert(tof, "tof", "meV", path=10).attrs["units"] == "meV"


@pytest.mark.parametrize("argument,units,refused", [
    ("values", "ms", "the values (tof) must be in µs, but attrs['units'] says 'ms'"),
    ("values", "us", None),
    ("angle", "rad", "the angle must be in deg"),
    ("path", "mm", "the flight path must be in m,"),
    ("path", "metres", None),
])
def test_a_dataarray_in_another_unit_is_refused_not_converted(argument, units, refused):
    given = {"values": xr.DataArray(TOF[:4], dims="event"),
             "angle": xr.DataArray(90.0), "path": xr.DataArray(10.0)}
    given[argument].attrs["units"] = units
    call = lambda: pevrand.convert(given["values"], "tof", "dspacing", angle=given["angle"],  # noqa: E731
                                   path=given["path"])
    if refused is None:
        np.testing.assert_array_equal(call().values, pevrand.convert(TOF[:4], "tof", "dspacing",
                                                                     angle=90, path=10))
    else:
        with pytest.raises(ValueError, match=re.escape(refused)):
            call()


# Large enough for a team of threads: ranges of 65,536 elements, failures scattered across them.
THREADS_PROBE = """
import hashlib, sys, numpy as np, pevrand
rng = np.random.default_rng(33)
tof = rng.uniform(-2000.0, 20000.0, 1_000_000)  # about one in eleven not positive
pixels = rng.integers(0, 50, tof.size)
angles = np.where(np.arange(50) % 9 == 4, 0.0, rng.uniform(5, 175, 50))
results = [pevrand.convert(tof, "tof", "dspacing", pixel=pixels, angle=angles, path=11.0,
                           rounded=rounded, errors="nan") for rounded in (True, False)]
for start in (0, 400_000, 999_990):
    try:
        pevrand.convert(np.abs(tof[start:]) + 1, "tof", "dspacing", pixel=pixels[start:],
                        angle=angles, path=11.0)
    except pevrand.ConversionError as error:
        results.append(np.array([error.index, error.pixel]))
print(hashlib.sha256(b"".join(r.tobytes() for r in results)).hexdigest())
"""


def test_any_number_of_threads_gives_the_same_bits_and_first_failure():
    def digest(threads):
        env = dict(os.environ, OMP_NUM_THREADS=str(threads))
        return subprocess.run([sys.executable, "-c", THREADS_PROBE], env=env, check=True,
                              capture_output=True, text=True).stdout
    assert digest(1) == digest(2) == digest(7)


def test_a_process_forked_after_a_team_of_threads_still_converts():
    # GNU OpenMP's team does not survive a fork: the child converts on one thread, not never.
    code = """
import multiprocessing, numpy as np, pevrand
values = np.linspace(1.0, 100.0, 500_000)
expected = pevrand.convert(values, "meV", "lambda")
with multiprocessing.get_context("fork").Pool(1) as pool:
    child = pool.apply_async(pevrand.convert, (values, "meV", "lambda")).get(timeout=60)
print(np.array_equal(child, expected))
"""
    shown = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                           check=True, env=os.environ, timeout=120)
    assert shown.stdout.strip() == "True"
