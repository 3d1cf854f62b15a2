#!/usr/bin/env bash
# Prints the program's version, major.minor.revision, as resources/ProgramIdentity.h holds it.
set -euo pipefail
sed -n 's/^#define PEVRAND_VERSION_\(MAJOR\|MINOR\|REVISION\) \([0-9]*\)$/\2/p' \
    "$(dirname "${BASH_SOURCE[0]}")/../resources/ProgramIdentity.h" | paste -sd.
