# One test suite: runs ctest for a preset (extra arguments go to ctest), prints its counts
# and records them in $TARLIN_COUNTS; a suite that ran nothing counts as one failure.
suite() {
    local preset=$1 log=$TARLIN_LOGS/test-$1.log total bad began=$SECONDS
    shift
    ctest --preset "$preset" -j2 --timeout 300 "$@" >"$log" 2>&1 || true
    local took=$((SECONDS - began))
    total=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\2/p' "$log")
    bad=$(sed -n 's/.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1/p' "$log")
    if [ -z "$total" ] || [ "$total" -eq 0 ]; then
        tail -n 40 "$log" >&2
        echo "$preset: no test ran" >&2
        echo "0 1" >>"$TARLIN_COUNTS"
        return
    fi
    if [ "$bad" -ne 0 ]; then
        sed -n '/The following tests FAILED/,$p' "$log" >&2
        grep -B2 -A25 -E '\*\*\*Failed|\(Failed\)|Exception|Timeout' "$log" | head -n 200 >&2 || true
    fi
    # A case that failed once and passed on its second try is named, not hidden.
    local retried
    retried=$(sed -n 's/.*Test *#[0-9]*: \([^ ]*\) .*\*\*\*\(Failed\|Timeout\|Exception\).*/\1/p' "$log" |
        sort -u | tr '\n' ' ')
    [ -n "$retried" ] && echo "$preset: failed once, then passed or failed again: $retried" >&2
    echo "$preset: $((total - bad)) passed, $bad failed ($took s)"
    echo "$((total - bad)) $bad" >>"$TARLIN_COUNTS"
}
