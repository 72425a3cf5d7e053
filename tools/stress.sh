#!/usr/bin/env bash
# tools/stress.sh [RUNS]: runs every scenario that drives the real program (the ProgramTests)
# RUNS times (20 unless told) while, one at a time and at random moments, a Wine process of
# the tests or the X server is stopped for 0.1 to 2 s; ends with the passes and failures of
# each. The way to check a change to the UI driver or the UI tests. A failed run's output is
# kept in build/stress/.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/wine/command.sh"
qm_enter_namespace "$@"
qm_test_session
runs="${1:-20}"

stalled() {  # the X server and every Wine process of the tests' prefix
    local p
    echo "$QM_XVFB_PID"
    for p in /proc/[0-9]*; do
        [[ "$(readlink "$p/exe" 2>/dev/null)" == "$QM_WINE_ROOT"/* ]] &&
            grep -qzx "WINEPREFIX=$QM_PREFIX" "$p/environ" 2>/dev/null && echo "${p#/proc/}"
    done
}
stall() {
    RANDOM=1  # a fixed seed: the same pattern of pauses every time
    local victims d p
    while :; do
        d=$((RANDOM % 10)) && sleep "0.$d"
        mapfile -t victims < <(stalled)
        p="${victims[RANDOM % ${#victims[@]}]}"
        kill -STOP "$p" 2>/dev/null || continue
        d=$((RANDOM % 20 + 1)) && sleep "$((d / 10)).$((d % 10))"
        kill -CONT "$p" 2>/dev/null || true
    done
}
stall &
staller=$!
# First of the clean-ups: once the staller has ended (with the other jobs), nothing stays stopped.
QM_CLEANUP=("wait $staller; stalled | xargs -r kill -CONT" "${QM_CLEANUP[@]}")

mkdir -p build/stress
declare -A passed failed
for run in $(seq "$runs"); do
    log="build/stress/run-$run.log"
    status=0
    qm_ctest -R ProgramTest >"$log" 2>&1 || status=$?
    # Anything but Passed is a failure: Failed, a time-out, a crash, a test not run.
    bad=0
    while read -r name result; do
        if [ "$result" = Passed ]; then
            passed[$name]=$((${passed[$name]:-0} + 1))
        else
            failed[$name]=$((${failed[$name]:-0} + 1)) bad=1
            echo "run $run: $name: $result (kept: $log)" >&2
        fi
    done < <(sed -n 's/.*Test *#[0-9]*: \([^ ]*\) *\.*\** *\([A-Za-z].*[a-z]\).*sec$/\1 \2/p' "$log")
    if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
        failed["run $run"]=1
        echo "run $run: CTest ended with status $status and no failed test (kept: $log)" >&2
    elif [ "$bad" -eq 0 ]; then
        rm "$log"
    fi
    echo "run $run of $runs done" >&2
done
total_passed=0 total_failed=0
while read -r name; do
    echo "$name: ${passed[$name]:-0} passed, ${failed[$name]:-0} failed"
    total_passed=$((total_passed + ${passed[$name]:-0})) total_failed=$((total_failed + ${failed[$name]:-0}))
done < <(printf '%s\n' "${!passed[@]}" "${!failed[@]}" | sort -u)
echo "$total_passed passed, $total_failed failed"
qm_step "stressing the tests" "the failed runs' output is kept in build/stress/ (named above)"
[ "$total_failed" -eq 0 ]
