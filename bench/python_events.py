"""Event data out of core: 10^8 float32 time-of-flight events and their int32 pixels in an
HDF5 file, converted by dask.distributed worker processes, each held to 256 MB, into another
HDF5 file: to d-spacing with pevrand.convert(..., pixel=), with one worker and with two, and to
energy transfer (direct geometry, a per-pixel l2) with pevrand.energy_transfer(..., pixel=),
with two.

Each run is on a fresh LocalCluster on 127.0.0.1, and prints its time, throughput and the
workers' peak resident memory. Fails when a worker passes its memory limit or is restarted,
when a run fails, or when a sample of the output differs in one bit from the same events
converted in memory. The files go to a temporary folder (about 2 GB), removed afterwards.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_events.py

BENCH_EVENTS=N converts N events instead, for a quicker look.
"""
import os
import resource
import sys
import tempfile
import time

import dask.array as da
import h5py
import numpy as np
from distributed import Client, LocalCluster, Lock

import pevrand

EVENTS = int(os.environ.get("BENCH_EVENTS", 10**8))
PIXELS = 1000
CHUNK = min(2_000_000, EVENTS)  # events a block: 24 MB of time-of-flight, pixels and d-spacings
MEMORY_LIMIT = 256 * 2**20
RNG = np.random.default_rng(2028)
TWO_THETA = RNG.uniform(10.0, 170.0, PIXELS)
FLIGHT_PATH = RNG.uniform(10.0, 12.0, PIXELS)
L2 = RNG.uniform(2.0, 6.0, PIXELS)  # sample to detector, for the energy transfer

# Each conversion: the output's dtype and the conversion of (tof, pixel), lazy or in memory.
CONVERSIONS = {
    "d-spacing": (np.float32, lambda tof, pixel: pevrand.convert(
        tof, "tof", "dspacing", pixel=pixel, angle=TWO_THETA, path=FLIGHT_PATH, rounded=False)),
    "energy transfer": (np.float64, lambda tof, pixel: pevrand.energy_transfer(
        tof, l1=10.0, l2=L2, ei=5.0, pixel=pixel, errors="nan")),
}


class Dataset:
    """An HDF5 dataset by file and name, which a worker process opens for each block it reads
    or writes (h5py's own objects stay in the process that opened them)."""

    def __init__(self, path, name):
        self.path, self.name = path, name
        with h5py.File(path, "r") as file:
            self.shape, self.dtype = file[name].shape, file[name].dtype
        self.ndim = len(self.shape)

    def __getitem__(self, key):
        with h5py.File(self.path, "r") as file:
            return file[self.name][key]

    def __setitem__(self, key, value):
        with h5py.File(self.path, "r+") as file:
            file[self.name][key] = value


def write_events(path):
    """Events in time order, each from a random pixel, as a NeXus event list holds them."""
    with h5py.File(path, "w") as file:
        group = file.create_group("entry/bank1_events")
        tof = group.create_dataset("event_time_offset", (EVENTS,), np.float32, chunks=(CHUNK,))
        pixel = group.create_dataset("event_id", (EVENTS,), np.int32, chunks=(CHUNK,))
        for start in range(0, EVENTS, CHUNK):
            count = min(CHUNK, EVENTS - start)
            tof[start:start + count] = np.sort(RNG.uniform(1000.0, 20000.0, count)).astype(
                np.float32)
            pixel[start:start + count] = RNG.integers(0, PIXELS, count, dtype=np.int32)
        group["two_theta"], group["flight_path"] = TWO_THETA, FLIGHT_PATH


def peak_rss():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024  # Linux gives KiB


def convert_file(source, target, workers, conversion):
    """Converts every event with `workers` worker processes; (seconds, peak bytes a worker)."""
    dtype, convert = CONVERSIONS[conversion]
    with h5py.File(target, "w") as file:
        file.create_dataset("result", (EVENTS,), dtype, chunks=(CHUNK,))
    with LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                      memory_limit=MEMORY_LIMIT, host="127.0.0.1",
                      dashboard_address=None) as cluster, Client(cluster) as client:
        started = set(client.scheduler_info()["workers"])
        start = time.perf_counter()
        tof = da.from_array(Dataset(source, "entry/bank1_events/event_time_offset"),
                            chunks=CHUNK)
        pixel = da.from_array(Dataset(source, "entry/bank1_events/event_id"), chunks=CHUNK)
        da.store(convert(tof, pixel), Dataset(target, "result"), lock=Lock("result"))
        seconds = time.perf_counter() - start
        peaks = client.run(peak_rss)
        assert set(client.scheduler_info()["workers"]) == started, "a worker was restarted"
    return seconds, max(peaks.values())


def same_bits_as_in_memory(source, target, conversion):
    convert = CONVERSIONS[conversion][1]
    with h5py.File(source, "r") as events, h5py.File(target, "r") as converted:
        for start in range(0, EVENTS, EVENTS // 10):
            window = slice(start, start + min(100_000, EVENTS - start))
            expected = convert(events["entry/bank1_events/event_time_offset"][window],
                               events["entry/bank1_events/event_id"][window])
            if not np.array_equal(converted["result"][window], expected, equal_nan=True):
                return False
    return True


def main():
    failures = []
    with tempfile.TemporaryDirectory(prefix="pevrand-events-") as folder:
        source, target = os.path.join(folder, "events.h5"), os.path.join(folder, "result.h5")
        start = time.perf_counter()
        write_events(source)
        print(f"python events: {EVENTS:,} events written in {time.perf_counter() - start:.1f} s")
        runs = {}
        for conversion, workers in (("d-spacing", 1), ("d-spacing", 2), ("energy transfer", 2)):
            seconds, peak = convert_file(source, target, workers, conversion)
            runs[conversion, workers] = seconds
            print(f"python events: {conversion}, {workers} worker(s) of 256 MB: {seconds:.1f} s, "
                  f"{EVENTS / seconds / 1e6:.1f} million events/s, peak worker memory "
                  f"{peak / 2**20:.0f} MB")
            if peak > MEMORY_LIMIT:
                failures.append(f"a worker reached {peak / 2**20:.0f} MB")
            if not same_bits_as_in_memory(source, target, conversion):
                failures.append(f"{conversion}, {workers} worker(s): the output differs from "
                                "in memory")
        print(f"python events: d-spacing, two workers "
              f"{runs['d-spacing', 1] / runs['d-spacing', 2]:.2f}x one worker's throughput")
    for failure in failures:
        print(f"python events: FAILED: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
