#!/usr/bin/env bash
# Does this machine run 32-bit x86 programs? Finds out by running one: a 96-byte static i386
# program, written here byte by byte, that exits with 42 through the kernel's 32-bit system
# call. It needs nothing installed, so the answer is known before anything i386 is. Kernels
# built without 32-bit support (many container and virtual-machine kernels) refuse to start it.
#
#   runs-i386.sh            exit 0 and print "yes", or exit 1 and print "no: REASON"
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

probe=$(mktemp "${TMPDIR:-/tmp}/pevrand-i386-probe.XXXXXX")
trap 'rm -f "$probe"' EXIT
write_probe >"$probe"
chmod +x "$probe"
status=0
error=$("$probe" 2>&1) || status=$?
if [ "$status" -eq 42 ]; then
    echo yes
    exit 0
fi
error=${error##*: }
echo "no: this machine's kernel can't run 32-bit x86 programs (${error:-exit status $status})"
exit 1
