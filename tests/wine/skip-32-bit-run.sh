#!/usr/bin/env bash
# Stands in for a check of the 32-bit build that would run a 32-bit program, on a machine that
# can't run one (scripts/runs-i386.sh tells why, or the missing wine32:i386): says so, with the
# reason given, and exits with ctest's skip code.
echo "skipped: this machine can't run 32-bit x86 programs${1:+: $1}"
exit 77
