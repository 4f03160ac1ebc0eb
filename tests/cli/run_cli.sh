#!/usr/bin/env bash
# The command line of the real program: each row runs it once and checks the
# exit status, the first line of stdout and of stderr. --help and --version
# run without any display, as on a plain terminal.
#
# Usage: run_cli.sh PATH/TO/OpticCalc VERSION [LAUNCHER...]
# The launcher words (wine for a Windows build) go before the program.
set -uo pipefail

app=$1
version=$2
launcher=("${@:3}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run"
cd "$work"
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
# A runtime folder keeps Qt's warning about a missing one off stderr.
offscreen=(env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run")
failures=0

# name | how to run | arguments | status | stdout's first line | stderr's first line
# (patterns as for [[ == ]]; "" for an empty stream)
rows=(
    "help-answers-headless|headless|--help|0|Usage: *|"
    "short-help-too|headless|-h|0|Usage: *|"
    "version-answers-headless|headless|--version|0|OpticCalc $version|"
    "qt-option-is-left-to-qt|offscreen|-platform offscreen --version|0|OpticCalc $version|"
    "unknown-option-is-an-error|offscreen|--frobnicate|2||*: Unknown option 'frobnicate'."
    "stray-argument-is-an-error|offscreen|table.csv|2||*: Unexpected argument 'table.csv'."
    "unknown-option-headless-too|headless|--frobnicate|2||*: Unknown option 'frobnicate'."
)

for row in "${rows[@]}"; do
    IFS='|' read -r name how args status out err <<<"$row"
    runner=("${headless[@]}")
    [[ $how == offscreen ]] && runner=("${offscreen[@]}")
    # shellcheck disable=SC2086 # the arguments are split on purpose
    "${runner[@]}" timeout 20 "${launcher[@]}" "$app" $args >stdout.txt 2>stderr.txt
    rc=$?
    first_out=$(head -n 1 stdout.txt | tr -d '\r')
    first_err=$(head -n 1 stderr.txt | tr -d '\r')
    problems=()
    ((rc == status)) || problems+=("exit status $rc, not $status")
    if [[ -z $out ]]; then [[ ! -s stdout.txt ]] || problems+=("stdout not empty"); fi
    [[ $first_out == $out ]] || problems+=("stdout starts '$first_out'")
    [[ $first_err == $err ]] || problems+=("stderr starts '$first_err'")
    # An error is followed by the usage, on stderr.
    if ((status == 2)); then grep -q '^Usage: ' stderr.txt || problems+=("no usage on stderr"); fi
    if ((${#problems[@]})); then
        echo "FAIL $name: ${problems[*]}"
        failures=$((failures + 1))
    else
        echo "PASS $name"
    fi
done
echo "$(( ${#rows[@]} - failures )) passed, $failures failed"
((failures == 0))
