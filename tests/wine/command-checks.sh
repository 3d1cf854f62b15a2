#!/usr/bin/env bash
# pevrand-convert.exe under Wine, held to the Linux command's own table (check_command.py):
#
#   command-checks.sh EXE CHECK_COMMAND_PY
#
# The table's process runs a stand-in for the command that starts EXE under Wine with the
# arguments as UTF-8 text, in the suite's folder (PEVRAND_WINE_ROOT).
set -euo pipefail
exe=${1:?pevrand-convert.exe} checks=${2:?check_command.py}
runner=$PEVRAND_WINE_ROOT/pevrand-convert-under-wine
printf '#!/bin/sh\nLC_ALL=C.UTF-8 exec "%s" "%s" "$@"\n' "$PEVRAND_WINE" "$exe" >"$runner"
chmod +x "$runner"
/usr/bin/python3 "$checks" "$runner" Command.test_rows Command.test_every_name_is_its_quantity \
    Command.test_help_wins_and_lists_usage_quantities_and_examples
