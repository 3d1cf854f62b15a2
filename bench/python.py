"""pevrand.convert side by side with the plain numpy line a user would otherwise write, on every
core, as an analyst runs it.

- 10,000,000 float64 energies (0.1 to 1000 meV, fixed seed) to wavelengths: np.sqrt(81.787 / E)
  against pevrand.convert(E, "energy", "wavelength") with rounded=False (limit 0.6x numpy's
  time) and rounded (the window's numbers, limit 1.5x); and with CODATA 2022's constants,
  rounded=False, against np.sqrt(81.8042 / E) (limit 1x).
- The same conversion, rounded=False, on every core against one (OMP_NUM_THREADS=1, in a
  process of its own): at least 1.4x faster on two cores or more.
- 10,000,000 float32 values converted in a process of their own: the peak resident memory
  during the call beyond the 40 MB result, as the kernel counts it, under 16 MB.
- 2,000,000 events in time order, each from a random one of 1,000 pixels, time-of-flight (as
  float32 and as float64) to d-spacing with the pixels' 2 theta and flight-path tables: the
  numpy line an analyst would write, tof / (C * L[pix] * np.sin(np.radians(tt[pix]) / 2)),
  against pevrand.convert(tof, "tof", "dspacing", pixel=pix, angle=tt, path=L, rounded=False)
  (limit 1x).
- 10,000,000 float32 events in time order over 1,000 pixels: pevrand.energy_transfer in direct
  geometry with a per-pixel l2, against the numpy line vf = l2[pix] / (tof * 1e-6 - l1 / vi);
  de = ei - 5.2276e-06 * vf**2; and pevrand.tof_to_dspacing with per-pixel DIFC, DIFA and TZERO
  against its numpy line (each limit 1x).

Each comparison takes turns in one process; each round times each line a few times and keeps
its fastest; the ratios printed are the medians over the rounds. The processor's name and its
widest vector unit, and the SIMD extensions numpy dispatches to, are printed first: a ratio
against numpy moves with numpy's own SIMD. Fails when a line passes its limit. Then
bench/python_events.py (event data out of core, some minutes).

    PYTHONPATH=build/python /usr/bin/python3 bench/python.py
"""
import os
import statistics
import subprocess
import sys
import time

import numpy as np

import pevrand

ROUNDS = int(os.environ.get("BENCH_REPEATS", "7"))
CALLS = 3
# Time-of-flight in µs per metre of flight path and Å of d-spacing at 2 theta = 180 degrees,
# twice 252.78: d = tof / (C * L * sin(theta)).
C = 505.56


def processor():
    """The processor's name and its widest vector unit, from /proc/cpuinfo."""
    name, flags = "unknown", set()
    with open("/proc/cpuinfo") as cpuinfo:
        for line in cpuinfo:
            key, _, value = line.partition(":")
            if key.strip() == "model name":
                name = value.strip()
            elif key.strip() == "flags":
                flags = set(value.split())
    width = 512 if "avx512f" in flags else 256 if "avx2" in flags else 128
    return name, width


def numpy_simd():
    from numpy.core import _multiarray_umath as umath
    features = getattr(umath, "__cpu_features__", {})
    dispatched = [f for f in getattr(umath, "__cpu_dispatch__", []) if features.get(f)]
    return ", ".join(dispatched) or "none"


def fastest_ms(run, calls=CALLS):
    times = []
    for _ in range(calls):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times) * 1e3


def compare(title, count, numpy_line, lines):
    """Times numpy_line and each of `lines` ({name: (run, limit)}) taking turns; prints each
    and gives the names over their limits."""
    runs = {"numpy": numpy_line, **{name: run for name, (run, _) in lines.items()}}
    rounds = {name: [] for name in runs}
    for _ in range(ROUNDS):
        for name, run in runs.items():
            rounds[name].append(fastest_ms(run))
    ms = {name: statistics.median(times) for name, times in rounds.items()}
    print(f"python: {title}, medians of {ROUNDS} rounds: numpy {ms['numpy']:.1f} ms")
    failed = []
    for name, (_, limit) in lines.items():
        ratio = statistics.median(t / n for t, n in zip(rounds[name], rounds["numpy"]))
        print(f"python: {name}: {ms[name]:.1f} ms, {ratio:.2f}x numpy (limit {limit:g}x), "
              f"{ms[name] * 1e6 / count:.2f} ns a value")
        if ratio > limit:
            failed.append(f"{name} at {ratio:.2f}x numpy is over {limit:g}x")
    return failed, ms


# Run in a process of its own: "time N" prints the fastest of a few conversions of N float64
# energies, rounded=False; "memory N" the peak resident bytes during one conversion of N float32
# values beyond what was resident before it.
CHILD = """
import sys, time, numpy as np, pevrand
what, n = sys.argv[1], int(sys.argv[2])
def status(field):
    with open("/proc/self/status") as f:
        return next(int(line.split()[1]) * 1024 for line in f if line.startswith(field))
if what == "time":
    energies = np.random.default_rng(2001).uniform(0.1, 1000.0, n)
    best = float("inf")
    for _ in range(5):
        start = time.perf_counter()
        pevrand.convert(energies, "energy", "wavelength", rounded=False)
        best = min(best, time.perf_counter() - start)
    print(best * 1e3)
else:
    values = np.random.default_rng(2001).uniform(0.1, 1000.0, n).astype(np.float32)
    with open("/proc/self/clear_refs", "w") as f:
        f.write("5")
    before = status("VmRSS:")
    pevrand.convert(values, "energy", "wavelength", rounded=False)
    print(status("VmHWM:") - before)
"""


def child(what, count, **environment):
    env = dict(os.environ, **environment)
    shown = subprocess.run([sys.executable, "-c", CHILD, what, str(count)], env=env, check=True,
                           capture_output=True, text=True)
    return float(shown.stdout)


def main():
    name, width = processor()
    cores = len(os.sched_getaffinity(0))
    print(f"python: {name}, {width}-bit vectors, {cores} cores; numpy {np.__version__} "
          f"dispatches to {numpy_simd()}; OMP_NUM_THREADS={os.environ.get('OMP_NUM_THREADS')}")
    rng = np.random.default_rng(2001)
    energies = rng.uniform(0.1, 1000.0, 10_000_000)
    failed, _ = compare("10,000,000 float64 energies to wavelengths", len(energies),
                        lambda: np.sqrt(81.787 / energies), {
        "rounded=False": (lambda: pevrand.convert(energies, "energy", "wavelength",
                                                  rounded=False), 0.6),
        "rounded": (lambda: pevrand.convert(energies, "energy", "wavelength"), 1.5),
    })
    failed += compare("10,000,000 float64 energies to wavelengths, CODATA 2022", len(energies),
                      lambda: np.sqrt(81.8042 / energies), {
        "constants='codata2022', rounded=False": (
            lambda: pevrand.convert(energies, "energy", "wavelength", rounded=False,
                                    constants="codata2022"), 1),
    })[0]
    del energies

    if cores >= 2:
        every = statistics.median(child("time", 10_000_000) for _ in range(3))
        one = statistics.median(child("time", 10_000_000, OMP_NUM_THREADS="1") for _ in range(3))
        print(f"python: 10,000,000 values on {cores} cores {every:.1f} ms, on one {one:.1f} ms: "
              f"{one / every:.2f}x (limit at least 1.4x)")
        if one / every < 1.4:
            failed.append(f"every core at {one / every:.2f}x one core is under 1.4x")
    else:
        print("python: one core only: the comparison of every core with one is not made")

    extra = child("memory", 10_000_000) - 40_000_000
    print(f"python: 10,000,000 float32 values: peak resident memory {extra / 2**20:.1f} MiB "
          f"beyond the result (limit 16 MiB)")
    if extra >= 16 * 2**20:
        failed.append(f"{extra / 2**20:.1f} MiB beyond the result is over 16 MiB")

    events, pixels = 2_000_000, 1000
    tt, L = rng.uniform(10.0, 170.0, pixels), rng.uniform(10.0, 12.0, pixels)
    pix = rng.integers(0, pixels, events, dtype=np.int32)
    for dtype in (np.float32, np.float64):
        tof = np.sort(rng.uniform(1000.0, 20000.0, events)).astype(dtype)
        failed += compare(
            f"2,000,000 {np.dtype(dtype).name} events in time order over 1,000 pixels to "
            "d-spacing", events,
            lambda: tof / (C * L[pix] * np.sin(np.radians(tt[pix]) / 2)), {
                "pixel=, rounded=False": (
                    lambda: pevrand.convert(tof, "tof", "dspacing", pixel=pix, angle=tt, path=L,
                                            rounded=False), 1),
            })[0]

    events = 10_000_000
    tof = np.sort(rng.uniform(3000.0, 20000.0, events)).astype(np.float32)
    pix = rng.integers(0, pixels, events, dtype=np.int32)
    l1, ei, l2 = 10.0, 25.0, rng.uniform(2.0, 6.0, pixels)
    vi = np.sqrt(ei / 5.2276e-06)

    def numpy_transfer():
        with np.errstate(all="ignore"):  # events before the neutron could arrive
            vf = l2[pix] / (tof * 1e-6 - l1 / vi)
            return ei - 5.2276e-06 * vf**2

    failed += compare("10,000,000 float32 events over 1,000 pixels to energy transfer", events,
                      numpy_transfer, {
        "energy_transfer, per-pixel l2": (
            lambda: pevrand.energy_transfer(tof, l1=l1, l2=l2, ei=ei, pixel=pix,
                                            errors="nan"), 1),
    })[0]
    difc, difa, tzero = (rng.uniform(4000.0, 6000.0, pixels), rng.uniform(-3.0, 3.0, pixels),
                         rng.uniform(-20.0, 20.0, pixels))

    def numpy_dspacing():
        with np.errstate(all="ignore"):  # times beyond a negative DIFA's turning point
            delta = tof - tzero[pix]
            c = difc[pix]
            return 2 * delta / (c + np.sqrt(c * c + 4 * difa[pix] * delta))

    failed += compare("the same events to calibrated d-spacing", events, numpy_dspacing, {
        "tof_to_dspacing, per-pixel DIFC, DIFA, TZERO": (
            lambda: pevrand.tof_to_dspacing(tof, difc=difc, difa=difa, tzero=tzero, pixel=pix,
                                            errors="nan"), 1),
    })[0]

    for failure in failed:
        print(f"python: FAILED: {failure}", file=sys.stderr)
    out_of_core = subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__),
                                                               "python_events.py")])
    return 1 if failed or out_of_core.returncode != 0 else 0


if __name__ == "__main__":
    sys.exit(main())
