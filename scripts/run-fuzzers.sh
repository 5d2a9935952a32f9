#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time and prints how many inputs each one
# executed without a property violation, crash, leak or undefined behaviour.
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET
# The committed seeds (tests/fuzz/corpus/<target>) and dictionaries (tests/fuzz/dict/) are read,
# never written: what a run learns goes into BUILD_DIR/corpus/<target>, a failing input into
# BUILD_DIR/artifacts/.
# The summary is also written to BUILD_DIR/fuzz-summary.txt. Exit status 1 when a target failed.
set -uo pipefail

build=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
seeds="$root/tests/fuzz/corpus"

shopt -s nullglob
targets=("$build"/fuzzers/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
    echo "run-fuzzers: no fuzz targets in $build/fuzzers" >&2
    exit 1
fi

mkdir -p "$build/artifacts" "$build/logs"
summary="$build/fuzz-summary.txt"
printf '%-26s %12s %9s  %s\n' target executions seconds result > "$summary"
failed=0
for exe in "${targets[@]}"; do
    name=$(basename "$exe")
    corpus="$build/corpus/$name"
    log="$build/logs/$name.log"
    mkdir -p "$corpus"
    # A target's dictionary (the keys and separators of its format) helps it reach deeper.
    dict=()
    [ -f "$root/tests/fuzz/dict/$name.dict" ] && dict=(-dict="$root/tests/fuzz/dict/$name.dict")
    echo "== $name: ${seconds}s"
    # Each input gets at most 10 s; inputs of up to 4 KiB are long enough for every format here
    # but the line reader's, whose lines must pass its 64 KiB bound.
    max_len=4096
    [ "$name" = fuzz_line_reader ] && max_len=200000
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
        "$exe" "${dict[@]}" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$name-" "$corpus" "$seeds/$name" > "$log" 2>&1
    status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
    if [ $status -eq 0 ]; then
        result=clean
    else
        result="FAILED (exit $status)"
        failed=1
        # The report of the failing input: the violated property or the sanitizer's findings.
        awk '/property violated|ERROR:|runtime error|Test unit written/ {shown=1} shown && n++ < 40' "$log" >&2
        ls "$build/artifacts/$name-"* 2>/dev/null | sed 's/^/  input: /' >&2
    fi
    printf '%-26s %12s %9s  %s\n' "$name" "${executions:-?}" "${elapsed:-?}" "$result" | tee -a "$summary"
done
echo
cat "$summary"
exit $failed
