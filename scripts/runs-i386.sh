#!/usr/bin/env bash
# Does this machine run 32-bit x86 programs? Finds out by running one: a 96-byte static i386
# program, written here byte by byte, that exits with 42 through the kernel's 32-bit system
# call. It needs nothing installed, so the answer is known before anything i386 is. Kernels
# built without 32-bit support (many container and virtual-machine kernels) refuse to start it
# with "Exec format error".
#
# The probe runs from the folder given (a build folder), else from the checkout, else from the
# temporary folder: the first of them that exists and takes a file. A folder on a noexec mount
# refuses to start any program ("Permission denied"), which says nothing about the kernel, so
# the next folder is tried.
#
#   runs-i386.sh [FOLDER]   exit 0 and print "yes", or exit 1 and print "no: REASON"
#   runs-i386.sh --write F  only write the probe program to F (for the probe's own check)
#
# PEVRAND_RUNS_I386=yes or =no forces the answer, to try the other path on one machine.
set -euo pipefail

# ELF header (52 bytes), one loadable segment at 0x08048000 (32 bytes), then the code at
# 0x08048054: mov eax, 1 (exit); mov ebx, 42; int 0x80.
write_probe() {
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
    printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
    printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
    printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'
}

if [ "${1-}" = --write ]; then
    write_probe >"${2:?file}"
    exit 0
fi

case ${PEVRAND_RUNS_I386-} in
yes) echo "yes (forced by PEVRAND_RUNS_I386)"; exit 0 ;;
no) echo "no: forced by PEVRAND_RUNS_I386"; exit 1 ;;
esac

places=()
[ -n "${1-}" ] && places+=("$1")
places+=("$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)" "${TMPDIR:-/tmp}")
probe=""
trap '[ -z "$probe" ] || rm -f "$probe"' EXIT
refused=()
for place in "${places[@]}"; do
    probe=$(mktemp "$place/.pevrand-i386-probe.XXXXXX" 2>/dev/null) || continue
    write_probe >"$probe"
    chmod +x "$probe"
    status=0
    error=$("$probe" 2>&1) || status=$?
    rm -f "$probe"
    error=${error##*: }
    case $status:$error in
    42:*) echo yes; exit 0 ;;
    *"Permission denied") refused+=("$place") ;;
    *"Exec format error")
        echo "no: this machine's kernel can't run 32-bit x86 programs (Exec format error)"
        exit 1 ;;
    *)
        echo "no: the 32-bit probe in $place failed (${error:-exit status $status})"
        exit 1 ;;
    esac
done
if [ ${#refused[@]} -eq 0 ]; then
    echo "no: none of ${places[*]} takes the 32-bit probe's file"
else
    echo "no: unknown, as no folder here lets programs start (mounted noexec?): ${refused[*]}"
fi
exit 1
