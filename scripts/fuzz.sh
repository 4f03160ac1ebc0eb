#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs each for a bounded time
# on a copy of its seed corpus, so the committed seeds stay as they are.
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]
#
# SECONDS (or OPTICCALC_FUZZ_SECONDS) is the time per target, 60 by default.
# Exits non-zero when a build fails or any target finds a crash, a leak, a
# failed check or a hang; the input that did it is kept in
# build-fuzz/artifacts/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=${1:-${OPTICCALC_FUZZ_SECONDS:-60}}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(fuzz_numbertext fuzz_inifile fuzz_csvwriter)
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "fuzz.sh: the time per target must be a whole number of seconds, not '$seconds'" >&2
    exit 2
fi

# clang and its runtime libraries, libFuzzer among them.
bash scripts/setup.sh clang libclang-rt-dev

build=$root/build-fuzz
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DOPTICCALC_BUILD_FUZZ=ON -DOPTICCALC_BUILD_TESTS=OFF -DOPTICCALC_WERROR=ON >/dev/null
cmake --build "$build" --parallel 2 --target "${targets[@]}"

# Leaks count as faults; undefined behaviour already aborts (see fuzz/CMakeLists.txt).
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
summary=()
for target in "${targets[@]}"; do
    work=$build/fuzz-run/$target
    artifacts=$build/artifacts/$target
    rm -rf "$work" "$artifacts"
    mkdir -p "$work/corpus" "$artifacts"
    cp -R "$root/fuzz/corpus/$target/." "$work/corpus/"

    echo "== $target: $seconds s"
    status=0
    # -close_fd_mask=1 keeps the targets' own stdout out of the log; the fuzzer
    # reports on stderr.
    "$build/bin/$target" "$work/corpus" \
        -max_total_time="$seconds" -timeout=25 -max_len=8192 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" -close_fd_mask=1 \
        >"$work/log" 2>&1 || status=$?

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
    corpus=$(grep -o 'corp: [0-9]*/[0-9a-zA-Z]*' "$work/log" | tail -n 1 | sed 's/corp: //')
    line="$target: ${runs:-?} executions, corpus ${corpus:-?} (units/bytes)"
    if ((status != 0)); then
        failed+=("$target")
        line+=", FAILED (exit $status)"
        echo "-- $target failed; the end of its log ($work/log):"
        tail -n 60 "$work/log"
        for artifact in "$artifacts"/*; do
            [ -e "$artifact" ] && echo "   input that failed: $artifact"
        done
    fi
    summary+=("$line")
done

echo "== Fuzzing summary"
printf '%s\n' "${summary[@]}"
if ((${#failed[@]})); then
    echo "Failed: ${failed[*]}"
    exit 1
fi
