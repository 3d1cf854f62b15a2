"""pevrand.convert side by side with the plain numpy line a user would otherwise write.

1,000,000 float64 energies (0.1 to 1000 meV, fixed seed) to wavelengths: np.sqrt(81.787 / E)
against pevrand.convert(E, "energy", "wavelength"), taking turns in one process on one core.
Prints the median time of each and the ratio; fails when pevrand takes more than 10x numpy's.
Then the same conversion in two threads at once against one after the other, which shows the
interpreter's lock released (on a machine with two cores or more).

    PYTHONPATH=build/python /usr/bin/python3 bench/python.py
"""
import os
import statistics
import sys
import threading
import time

import numpy as np

import pevrand

REPEATS = int(os.environ.get("BENCH_REPEATS", "7"))
LIMIT = 10.0


def median_ms(run):
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return statistics.median(times) * 1e3


def main():
    cores = os.sched_getaffinity(0)
    os.sched_setaffinity(0, {min(cores)})
    energies = np.random.default_rng(2001).uniform(0.1, 1000.0, 1_000_000)
    # Taking turns, so that both see the same machine.
    numpy_runs, pevrand_runs = [], []
    for _ in range(REPEATS):
        numpy_runs.append(median_ms(lambda: np.sqrt(81.787 / energies)))
        pevrand_runs.append(median_ms(lambda: pevrand.convert(energies, "energy", "wavelength")))
    numpy_ms, pevrand_ms = statistics.median(numpy_runs), statistics.median(pevrand_runs)
    ratio = pevrand_ms / numpy_ms
    print(f"python: 1,000,000 energies to wavelengths: numpy {numpy_ms:.1f} ms, "
          f"pevrand.convert {pevrand_ms:.1f} ms ({ratio:.1f}x numpy, limit {LIMIT:.0f}x; "
          f"{pevrand_ms * 1e6 / len(energies):.0f} ns a value)")
    unrounded_ms = median_ms(lambda: pevrand.convert(energies, "energy", "wavelength",
                                                     rounded=False))
    print(f"python: rounded=False {unrounded_ms:.1f} ms")

    os.sched_setaffinity(0, cores)
    if len(cores) >= 2:
        def two_threads():
            threads = [threading.Thread(target=pevrand.convert,
                                        args=(energies, "energy", "wavelength"))
                       for _ in range(2)]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
        both = median_ms(two_threads)
        print(f"python: two conversions in two threads {both:.1f} ms, one after the other "
              f"{2 * pevrand_ms:.1f} ms")
    if ratio > LIMIT:
        print(f"python: FAILED: {ratio:.1f}x numpy is over {LIMIT:.0f}x", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
