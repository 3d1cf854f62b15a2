"""pevrand.convert side by side with the plain numpy line a user would otherwise write.

1,000,000 float64 energies (0.1 to 1000 meV, fixed seed) to wavelengths: np.sqrt(81.787 / E)
against pevrand.convert(E, "energy", "wavelength"), rounded (the window's numbers), with
rounded=False, and with rounded=False on the same energies as float32. Then 2,000,000 events in
time order, each from a random one of 1,000 pixels, time-of-flight to d-spacing with the
pixels' 2 theta and flight-path tables: the numpy line an analyst would write,
tof / (C * L[pix] * np.sin(np.radians(tt[pix]) / 2)), against pevrand.convert(tof, "tof",
"dspacing", pixel=pix, angle=tt, path=L, rounded=False). Each comparison takes turns in one
process on one core; each round times each line a few times and keeps its fastest; the ratios
printed are the medians over the rounds. Fails when a line passes its limit against numpy's.
Then the same conversion in two threads at once against one after the other, which shows the
interpreter's lock released (on a machine with two cores or more), and bench/python_events.py
(event data out of core, some minutes).

    PYTHONPATH=build/python /usr/bin/python3 bench/python.py
"""
import os
import statistics
import subprocess
import sys
import threading
import time

import numpy as np

import pevrand

ROUNDS = int(os.environ.get("BENCH_REPEATS", "7"))
CALLS = 5
# Time-of-flight in µs per metre of flight path and Å of d-spacing at 2 theta = 180 degrees,
# twice 252.78: d = tof / (C * L * sin(theta)).
C = 505.56


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
              f"{ms[name] * 1e6 / count:.1f} ns a value")
        if ratio > limit:
            failed.append(f"{name} at {ratio:.2f}x numpy is over {limit:g}x")
    return failed, ms


def main():
    cores = os.sched_getaffinity(0)
    os.sched_setaffinity(0, {min(cores)})
    rng = np.random.default_rng(2001)
    energies = rng.uniform(0.1, 1000.0, 1_000_000)
    narrow = energies.astype(np.float32)
    convert = lambda: pevrand.convert(energies, "energy", "wavelength")  # noqa: E731
    failed, ms = compare("1,000,000 energies to wavelengths", len(energies),
                         lambda: np.sqrt(81.787 / energies), {
        "convert": (convert, 3),
        "rounded=False": (lambda: pevrand.convert(energies, "energy", "wavelength",
                                                  rounded=False), 2),
        "float32, rounded=False": (lambda: pevrand.convert(narrow, "energy", "wavelength",
                                                           rounded=False), 1),
    })

    events, pixels = 2_000_000, 1000
    tt, L = rng.uniform(10.0, 170.0, pixels), rng.uniform(10.0, 12.0, pixels)
    tof = np.sort(rng.uniform(1000.0, 20000.0, events)).astype(np.float32)
    pix = rng.integers(0, pixels, events, dtype=np.int32)
    failed += compare("2,000,000 unsorted events over 1,000 pixels to d-spacing", events,
                      lambda: tof / (C * L[pix] * np.sin(np.radians(tt[pix]) / 2)), {
        "pixel=, rounded=False": (lambda: pevrand.convert(tof, "tof", "dspacing", pixel=pix,
                                                          angle=tt, path=L, rounded=False), 1),
    })[0]

    os.sched_setaffinity(0, cores)
    if len(cores) >= 2:
        def two_threads():
            threads = [threading.Thread(target=convert) for _ in range(2)]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
        both = statistics.median(fastest_ms(two_threads) for _ in range(ROUNDS))
        print(f"python: two conversions in two threads {both:.1f} ms, one after the other "
              f"{2 * ms['convert']:.1f} ms")
    for failure in failed:
        print(f"python: FAILED: {failure}", file=sys.stderr)
    out_of_core = subprocess.run([sys.executable, os.path.join(os.path.dirname(__file__),
                                                               "python_events.py")])
    return 1 if failed or out_of_core.returncode != 0 else 0


if __name__ == "__main__":
    sys.exit(main())
