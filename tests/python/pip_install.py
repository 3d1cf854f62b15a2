"""pip install of a copy of the checkout into a fresh virtual environment, offline, then import
from outside the tree and uninstall, with nothing left behind.

    pip_install.py SOURCE_DIR VERSION

The copy keeps the build from writing into the checkout; the environment sees Debian's packages
(--system-site-packages) for the build requirements and numpy, as on a machine with no index.
"""
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

SOURCE, VERSION = Path(sys.argv[1]), sys.argv[2]
# What a checkout holds besides its sources: build trees and packages at its top, caches below.
TOP_NOT_SOURCES = shutil.ignore_patterns("build*", "_skbuild", "dist", ".git")
NOT_SOURCES = shutil.ignore_patterns("node_modules", "*.egg-info", "__pycache__", "corpus-run")


def not_sources(folder, names):
    top = TOP_NOT_SOURCES(folder, names) if Path(folder) == SOURCE else set()
    return top | NOT_SOURCES(folder, names)



def run(*command, cwd=None):
    result = subprocess.run(command, cwd=cwd, env=ENV, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"FAILED: {' '.join(map(str, command))}\n{result.stdout}\n{result.stderr}")
    return result.stdout


def paths_below(folder):
    return set(folder.rglob("*"))


# Only this environment's pip settings: no configuration file, index or cache of the machine's.
ENV = {k: v for k, v in os.environ.items() if not k.startswith(("PIP_", "PYTHON"))}
ENV.update(PIP_CONFIG_FILE=os.devnull, PIP_NO_CACHE_DIR="1", PIP_DISABLE_PIP_VERSION_CHECK="1",
           PYTHONNOUSERSITE="1", PYTHONDONTWRITEBYTECODE="1", CMAKE_BUILD_PARALLEL_LEVEL="2")

with tempfile.TemporaryDirectory(prefix="pevrand-pip-") as work:
    work = Path(work)
    source, venv, wheels = work / "checkout", work / "venv", work / "wheels"
    shutil.copytree(SOURCE, source, ignore=not_sources, symlinks=True)
    run("/usr/bin/python3", "-m", "venv", "--system-site-packages", "--without-pip", venv)
    python = venv / "bin" / "python"
    pip = [python, "-m", "pip", "--no-input"]
    offline = ["--no-build-isolation", "--no-index"]
    before = paths_below(venv)

    # The wheel line of docs/python.md, run as written (in the copy, into wheels/): without
    # --no-deps it would look for numpy's wheel, which no index is there to give.
    documented = next(line.strip() for line in
                      (SOURCE / "docs" / "python.md").read_text(encoding="utf-8").splitlines()
                      if line.strip().startswith("python -m pip wheel "))
    words = documented.split("#")[0].split()
    assert words[:3] == ["python", "-m", "pip"] and words[-2:] == ["-w", "dist/"], documented
    run(*pip, *[str(source) if w == "." else w for w in words[3:-2]], "-w", wheels)
    built = [p.name for p in wheels.iterdir()]
    assert len(built) == 1 and built[0].startswith(f"pevrand-{VERSION}-"), built

    run(*pip, "install", *offline, "--root-user-action=ignore", source)
    shown = run(python, "-c", "import pevrand; print(pevrand.__file__, pevrand.__version__, "
                "pevrand.convert(25, 'meV', 'wavelength'))", cwd=work).split()
    assert Path(shown[0]).is_relative_to(venv), f"imported {shown[0]}, not the installed module"
    assert shown[1:] == [VERSION, "1.8087"], shown
    # The declared numpy is the one installed: pip check finds pevrand's requirements met.
    checked = subprocess.run([python, "-m", "pip", "check"], env=ENV, capture_output=True,
                             text=True).stdout
    assert "pevrand" not in checked, checked

    # Imported once more with byte-compiling on, so that pip also has its caches to remove.
    ENV.pop("PYTHONDONTWRITEBYTECODE")
    run(python, "-c", "import pevrand", cwd=work)
    run(*pip, "uninstall", "--yes", "pevrand")
    left = sorted(str(p.relative_to(venv)) for p in paths_below(venv) - before)
    assert not left, f"left behind: {left}"
print(f"pip install: wheel {built[0]}, imported {VERSION} from the venv, uninstalled cleanly")
