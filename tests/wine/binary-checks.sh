#!/usr/bin/env bash
# Checks of the Windows build's binaries that need no Wine.
#
#   binary-checks.sh imports OBJDUMP EXE DLL...
#       EXE imports no DLL but those named (case aside): statically linked, it needs nothing
#       that a Windows machine lacks. Prints the DLLs it imports.
#   binary-checks.sh size MAX EXE
#       EXE is smaller than MAX bytes (stripped of its symbols). Prints its size.
#   binary-checks.sh sse2 OBJDUMP LIBRARY...
#       The 32-bit build does its floating-point arithmetic on SSE2 alone: the libraries'
#       code holds double arithmetic on SSE2 and no x87 instruction that rounds a result. The
#       x87 may still carry a float or double across a call (the 32-bit calling convention
#       returns them on its stack), take an absolute value, compare, and truncate to an
#       integer: none of these rounds.
set -euo pipefail

imports() {
    local objdump=$1 exe=$2
    shift 2
    local allowed=" ${*^^} " dll status=0
    echo "$(basename "$exe") imports:"
    while read -r dll; do
        if [[ $allowed == *" ${dll^^} "* ]]; then
            echo "  $dll"
        else
            echo "  $dll   <- not one of: $*"
            status=1
        fi
    done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | sort -u)
    return $status
}

size() {
    local bytes
    bytes=$(stat -c %s "$2")
    echo "$(basename "$2"): $bytes bytes (under $1: $([ "$bytes" -lt "$1" ] && echo yes || echo no))"
    [ "$bytes" -lt "$1" ]
}

# x87 instructions that only move, compare or truncate exact values.
exact_x87='^f(ld[slt]?|ldz|ld1|st[slt]?|stp[slt]?|xch|abs|chs|n?stcw|ldcw|n?stsw|u?comi?p?p?|ild[sl]?|ildll|istpll|isttp(ll)?)$'

sse2() {
    local objdump=$1 status=0
    shift
    local mnemonics
    mnemonics=$("$objdump" -d "$@" | sed -n 's/^ *[0-9a-f]\+:\t\([0-9a-f]\{2\} \)\+\s*\t\([a-z0-9]\+\).*/\2/p')
    echo "SSE2 double arithmetic:" \
        "$(grep -cE '^(add|sub|mul|div|sqrt)sd$|^cvtsd2ss$' <<<"$mnemonics") instructions"
    if ! grep -qE '^(mul|div)sd$' <<<"$mnemonics"; then
        echo "no SSE2 double arithmetic: built without -msse2 -mfpmath=sse?"
        status=1
    fi
    echo "x87 instructions:" $(grep -E '^f' <<<"$mnemonics" | sort | uniq -c | awk '{print $2 "x" $1}')
    # GCC's conversion of an unsigned 64-bit integer to a double: fildll loads it exactly as a
    # signed one, and only when its top bit was set (test, jns) fadds adds the constant 2^64.
    # That sum needs no more than the x87's 64 mantissa bits, so the one rounding is the store's,
    # as a correctly rounded conversion has it. Such an fadds is no rounding arithmetic.
    mnemonics=$(awk '{ m[NR] = $0 }
        END { for (i = 1; i <= NR; i++)
                  print (m[i] == "fadds" && m[i-1] == "jns" && m[i-2] == "test" &&
                         m[i-3] == "fildll") ? "fadds(unsigned 64-bit load)" : m[i] }' <<<"$mnemonics")
    local rounding
    rounding=$(grep -E '^f' <<<"$mnemonics" | grep -vE "$exact_x87" | grep -v '(unsigned 64-bit load)' |
        sort -u || true)
    if [ -n "$rounding" ]; then
        echo "x87 arithmetic that rounds on the x87:" $rounding
        status=1
    fi
    return $status
}

case ${1-} in
imports) shift && imports "$@" ;;
size) shift && size "$@" ;;
sse2) shift && sse2 "$@" ;;
*)
    echo "usage: binary-checks.sh imports OBJDUMP EXE DLL... | size MAX EXE | sse2 OBJDUMP LIBRARY..." >&2
    exit 2
    ;;
esac
