#!/usr/bin/env bash
# Runs a Qt Test executable under Wine and shows its log. Under Wine the
# test's own stdout stays empty when it is a pipe, as under ctest, so the
# log goes to a file and is printed from there; the exit status is the test's.
#
# Usage: qtest.sh TEST.exe [ARGUMENTS...]
set -uo pipefail
log=$(mktemp "${TMPDIR:-/tmp}/qtest.XXXXXX")
trap 'rm -f "$log"' EXIT
bash "$(dirname "$0")/wine.sh" "$@" -o "$log,txt"
status=$?
cat "$log"
exit "$status"
