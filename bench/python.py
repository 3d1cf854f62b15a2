"""pevrand.convert side by side with the plain numpy line a user would otherwise write.

1,000,000 float64 energies (0.1 to 1000 meV, fixed seed) to wavelengths: np.sqrt(81.787 / E)
against pevrand.convert(E, "energy", "wavelength"), rounded (the window's numbers) and with
rounded=False, taking turns in one process on one core. Each round times each line a few times
and keeps its fastest; the ratios printed are the medians over the rounds. Fails when convert
takes more than 3x numpy's time, or rounded=False more than 2x. Then the same conversion in two
threads at once against one after the other, which shows the interpreter's lock released (on a
machine with two cores or more).

    PYTHONPATH=build/python /usr/bin/python3 bench/python.py
"""
import os
import statistics
import sys
import threading
import time

import numpy as np

import pevrand

ROUNDS = int(os.environ.get("BENCH_REPEATS", "7"))
CALLS = 5
LIMITS = {"convert": 3.0, "rounded=False": 2.0}


def fastest_ms(run, calls=CALLS):
    times = []
    for _ in range(calls):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times) * 1e3


def main():
    cores = os.sched_getaffinity(0)
    os.sched_setaffinity(0, {min(cores)})
    energies = np.random.default_rng(2001).uniform(0.1, 1000.0, 1_000_000)
    lines = {
        "numpy": lambda: np.sqrt(81.787 / energies),
        "convert": lambda: pevrand.convert(energies, "energy", "wavelength"),
        "rounded=False": lambda: pevrand.convert(energies, "energy", "wavelength",
                                                 rounded=False),
    }
    # Taking turns, so that every line sees the same machine.
    rounds = {name: [] for name in lines}
    for _ in range(ROUNDS):
        for name, run in lines.items():
            rounds[name].append(fastest_ms(run))
    ms = {name: statistics.median(times) for name, times in rounds.items()}
    ratios = {name: statistics.median(t / n for t, n in zip(rounds[name], rounds["numpy"]))
              for name in LIMITS}
    print(f"python: 1,000,000 energies to wavelengths, medians of {ROUNDS} rounds: numpy "
          f"{ms['numpy']:.1f} ms")
    for name, limit in LIMITS.items():
        print(f"python: {name}: {ms[name]:.1f} ms, {ratios[name]:.2f}x numpy (limit "
              f"{limit:.0f}x), {ms[name] * 1e6 / len(energies):.1f} ns a value")

    os.sched_setaffinity(0, cores)
    if len(cores) >= 2:
        def two_threads():
            threads = [threading.Thread(target=lines["convert"]) for _ in range(2)]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
        both = statistics.median(fastest_ms(two_threads) for _ in range(ROUNDS))
        print(f"python: two conversions in two threads {both:.1f} ms, one after the other "
              f"{2 * ms['convert']:.1f} ms")
    failed = [name for name, limit in LIMITS.items() if ratios[name] > limit]
    for name in failed:
        print(f"python: FAILED: {name} at {ratios[name]:.2f}x numpy is over {LIMITS[name]:.0f}x",
              file=sys.stderr)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
