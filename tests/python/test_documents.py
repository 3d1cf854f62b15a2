"""Every Python block of docs/python.md, run as written on small event files made here with
the layout its walk-throughs describe: the blocks one after another in one script, as a reader
would run them, and each block that starts a cluster as a script of its own, whose files are
then held to the same events converted in memory."""
import os
import re
import subprocess
import sys
from pathlib import Path

import h5py
import numpy as np
import pytest
import zarr

import pevrand

DOCUMENT = Path(__file__).resolve().parents[2] / "docs" / "python.md"
BLOCKS = re.findall(r"^( *)```python\n(.*?)^\1```", DOCUMENT.read_text(encoding="utf-8"),
                    re.MULTILINE | re.DOTALL)
BLOCKS = ["\n".join(line[len(indent):] for line in body.splitlines())
          for indent, body in BLOCKS]
EVENTS, PIXELS, FIRST_ID = 2_500_000, 1000, 100000


def write_bank(path, tof, instrument):
    rng = np.random.default_rng(36)
    with h5py.File(path, "w") as f:
        events = f.create_group("entry/bank1_events")
        events["event_time_offset"] = np.sort(tof).astype(np.float32)
        events["event_id"] = rng.integers(FIRST_ID, FIRST_ID + PIXELS, EVENTS, dtype=np.int32)
        f["entry/instrument/bank1/detector_id"] = np.arange(FIRST_ID, FIRST_ID + PIXELS,
                                                            dtype=np.int32)
        for name, value in instrument.items():
            f[f"entry/instrument/{name}"] = value


@pytest.fixture(scope="module")
def event_files(tmp_path_factory):
    """run.nxs, a powder diffractometer's calibrated bank, and direct.nxs, a direct-geometry
    spectrometer's, as the walk-throughs describe them."""
    folder = tmp_path_factory.mktemp("documents")
    rng = np.random.default_rng(2036)
    two_theta, path = rng.uniform(10.0, 170.0, PIXELS), rng.uniform(10.0, 12.0, PIXELS)
    write_bank(folder / "run.nxs", rng.uniform(1000.0, 20000.0, EVENTS), {
        "bank1/two_theta": two_theta, "bank1/flight_path": path,
        "bank1/difc": 505.56 * path * np.sin(np.radians(two_theta / 2)),
        "bank1/difa": rng.uniform(-0.5, 0.5, PIXELS), "bank1/tzero": rng.uniform(-5, 5, PIXELS)})
    write_bank(folder / "direct.nxs", rng.uniform(4400.0, 9000.0, EVENTS), {
        "l1": 10.0, "ei": 25.0, "bank1/l2": rng.uniform(4.0, 6.0, PIXELS),
        "bank1/two_theta": rng.uniform(3.0, 135.0, PIXELS)})
    return folder


def run(script, folder):
    ran = subprocess.run([sys.executable, "-c", script], cwd=folder, env=os.environ,
                         capture_output=True, text=True, timeout=600)
    assert ran.returncode == 0, ran.stderr


def test_every_block_runs_as_written(event_files):
    assert len(BLOCKS) >= 8
    run("\n\n".join(b for b in BLOCKS if "LocalCluster" not in b), event_files)


def test_the_cluster_recipe_keeps_what_memory_gives_in_hdf5_and_zarr(event_files):
    [recipe] = [b for b in BLOCKS if "LocalCluster" in b]
    run(recipe, event_files)
    with h5py.File(event_files / "run.nxs", "r") as f:
        geometry = f["entry/instrument/bank1"]
        expected = pevrand.tof_to_dspacing(
            f["entry/bank1_events/event_time_offset"][()], difc=geometry["difc"][()],
            difa=geometry["difa"][()], tzero=geometry["tzero"][()],
            pixel=f["entry/bank1_events/event_id"][()], pixel_offset=FIRST_ID, errors="nan")
    with h5py.File(event_files / "d.h5", "r") as f:
        np.testing.assert_array_equal(f["d_spacing"][()], expected)
    np.testing.assert_array_equal(zarr.open(str(event_files / "d.zarr"), "r")[:], expected)
