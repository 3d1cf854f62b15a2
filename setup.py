"""The build of the Python module pevrand for pip (see pyproject.toml): scikit-build runs the
project's own CMake with the module alone (no windows, tests or benchmarks) for the Python that
runs it, and packs what CMake installs as the component `python`."""
import re
from pathlib import Path

from skbuild import setup


def program_version():
    """The version, from the one place it is defined."""
    identity = (Path(__file__).resolve().parent / "resources" / "ProgramIdentity.h").read_text()
    return ".".join(
        re.search(rf"#define PEVRAND_VERSION_{part} (\d+)", identity).group(1)
        for part in ("MAJOR", "MINOR", "REVISION")
    )


setup(
    version=program_version(),
    packages=["pevrand"],
    package_dir={"": "python"},
    cmake_args=[
        "-DCMAKE_BUILD_TYPE=Release",
        "-DPEVRAND_WITH_QT=OFF",
        "-DPEVRAND_TESTS=OFF",
        "-DPEVRAND_BENCH=OFF",
        "-DPEVRAND_PYTHON=ON",
        # Where scikit-build looks for the package among what CMake installs.
        "-DPEVRAND_PYTHON_DIR=python",
    ],
    cmake_install_target="install-python-module",
)
