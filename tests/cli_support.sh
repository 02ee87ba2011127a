# Sourced by the command-line test scripts: checks counted, and a failed one
# shown with what the converter printed (out.txt, err.txt).
failures=0
passes=0
check() {  # check DESCRIPTION CONDITION...
    description=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        echo "FAILED: $description" >&2
        printf '  stdout: %s\n' "$(cat out.txt 2>/dev/null)" >&2
        printf '  stderr: %s\n' "$(cat err.txt 2>/dev/null)" >&2
    fi
}
contains() { grep -q -- "$2" "$1"; }
# checks_end NAME: prints the counts; fails when a check failed.
checks_end() {
    echo "$1: $passes passed, $failures failed"
    test "$failures" -eq 0
}
