# shellcheck shell=bash
# Helpers sourced by each program's test script.
#
# The scripts run the built programs as processes and compare their standard
# output, standard error and exit status. The programs' own lines are compared
# exactly; the library's diagnostics only loosely (that some are there, and
# where), since their wording belongs to the library's version.
#
# Environment: BIN is the folder of the programs under test, HELPERS that of
# the libraries the tests preload, DATA the folder of the test documents;
# LIBXML_VERSION the library release the programs were built against, as a
# number (20914 for 2.9.14); TEST_WRAPPER, if set, is a command put before
# every program (for example valgrind with its options).

set -u
: "${BIN:?BIN must name the folder of the built programs}"
: "${HELPERS:?HELPERS must name the folder of the preloaded test libraries}"
: "${DATA:?DATA must name the folder of the test documents}"
: "${LIBXML_VERSION:?LIBXML_VERSION must give the library release as a number}"
read -r -a wrapper <<<"${TEST_WRAPPER:-}"

# Every script works in a scratch folder of its own, removed on exit.
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 2

# The usage texts of the XPath tools, which follow each of their failures
# (used by the scripts that source this file).
# shellcheck disable=SC2034
nodequery_usage="Usage: $BIN/nodequery <xml-file> <xpath-expr> [<known-ns-list>]
where <known-ns-list> is a list of known namespaces
in \"<prefix1>=<href1> <prefix2>=href2> ...\" format
"
# shellcheck disable=SC2034
nodeupdate_usage="Usage: $BIN/nodeupdate <xml-file> <xpath-expr> <value>
"

# library_before NUMBER: the programs were built against a release older than
# NUMBER (21300 for 2.13.0), for what the library decides differently.
library_before() { ((LIBXML_VERSION < $1)); }

# library_url NAME: the URL the library records for a file named NAME on the
# command line. 2.9.14 escapes blanks, "%", control bytes and bytes above
# ASCII (with%20blank.xml); 2.15 keeps the name as it is. Other characters
# are not used by the tests.
library_url() {
    library_before 21300 || {
        printf '%s' "$1"
        return
    }
    local LC_ALL=C name=$1 byte i
    for ((i = 0; i < ${#name}; i++)); do
        byte=${name:i:1}
        case $byte in
        [A-Za-z0-9._/-]) printf '%s' "$byte" ;;
        [\ %] | [![:print:]]) printf '%%%02X' "'$byte" ;;
        *) printf '(no known URL form for %q)' "$byte" ;;
        esac
    done
}

# capture NAME COMMAND...: sets the variable NAME to exactly what COMMAND
# prints, trailing newlines included (which $(...) alone drops). A shell error
# that ends the command's subshell (an unset variable) fails the case.
capture() {
    local captured
    captured=$("${@:2}"; printf x)
    [[ $captured == *x ]] || fail "the test's own command broke: ${*:2}"
    printf -v "$1" '%s' "${captured%x}"
}

# slurp NAME FILE: sets the variable NAME to exactly the bytes of FILE, with
# no process started: under emulation each one costs.
slurp() {
    printf -v "$1" '%s' ''
    IFS= read -r -d '' "$1" <"$2" || true
}

passed=0
failed=0
skipped=0
case_name=""
case_failed=0
out="$WORK/.stdout"
err="$WORK/.stderr"
status=0
command_line=""

# begin NAME: starts a case; its checks are reported under NAME.
begin() {
    end_case
    case_name=$1
    case_failed=0
}

end_case() {
    [[ -n $case_name ]] || return 0
    if ((case_failed)); then
        failed=$((failed + 1))
        echo "FAIL: $case_name"
    else
        passed=$((passed + 1))
    fi
    case_name=""
}

# run PROGRAM ARG...: runs a built program, standard input from /dev/null.
run() { run_to "$out" "$@"; }

# run_to FILE PROGRAM ARG...: as run, with standard output sent to FILE.
run_to() {
    local target=$1 program=$2
    shift 2
    command_line="$program$(printf ' %q' "$@")"
    # Standard error is appended to, so that lines others append to it stay in order.
    : >"$err"
    "${wrapper[@]}" "$BIN/$program" "$@" >"$target" 2>>"$err" </dev/null
    status=$?
    [[ $target == "$out" ]] || : >"$out"
}

# fail WHAT [EXPECTED ACTUAL]: marks the case failed and reports the check,
# the command, and a unified diff of expected and actual (control bytes shown
# with cat -v), cut to its first 60 lines.
fail() {
    case_failed=1
    {
        echo "--- $case_name: $1"
        echo "command: $command_line"
        if (($# > 2)); then
            diff -u --label expected --label actual <(printf '%s' "$2") <(printf '%s' "$3") | cat -v >"$WORK/.diff"
            head -n 60 "$WORK/.diff"
            local lines
            lines=$(wc -l <"$WORK/.diff")
            ((lines <= 60)) || echo "... ($((lines - 60)) more lines)"
        fi
    } >&2
}

# expect_status N: the exit status was N.
expect_status() { [[ $status == "$1" ]] || fail "exit status" "$1" "$status"; }

# expect_text WHAT FILE TEXT: FILE (the stream or log WHAT) held exactly TEXT.
expect_text() {
    local actual
    slurp actual "$2"
    [[ $actual == "$3" ]] || fail "$1" "$3" "$actual"
}

# expect_bytes WHAT FILE EXPECTED-FILE: FILE held exactly the bytes of EXPECTED-FILE.
expect_bytes() {
    cmp -s "$2" "$3" || fail "$1" "$(cat "$3")" "$(cat "$2" 2>/dev/null)"
}

# expect_out TEXT: standard output was exactly TEXT.
expect_out() { expect_text "standard output" "$out" "$1"; }

# expect_out_prefix FULL MINIMUM: standard output was whole lines from the
# start of FULL, holding at least MINIMUM. For documents broken part-way, where
# how many lines come out before the error depends on the library's buffering.
expect_out_prefix() {
    local actual
    slurp actual "$out"
    if [[ $1 != "$actual"* || $actual != *$'\n' ]]; then
        fail "standard output should be whole lines from the start of" "$1" "$actual"
    elif [[ $actual != "$2"* ]]; then
        fail "standard output should hold the nodes before the error" "$2" "$actual"
    fi
}

# expect_out_file FILE: standard output was exactly the bytes of FILE.
expect_out_file() { expect_bytes "standard output" "$out" "$1"; }

# expect_err TEXT: standard error was exactly TEXT (no library diagnostics).
expect_err() { expect_text "standard error" "$err" "$1"; }

# expect_err_after_library TEXT: standard error held some library diagnostics
# and then ended with exactly TEXT.
expect_err_after_library() {
    local actual
    slurp actual "$err"
    if [[ $actual != *"$1" ]]; then
        fail "standard error should end with the program's lines" "$1" "$actual"
    elif ((${#actual} == ${#1})); then
        fail "standard error should hold library diagnostics before the program's lines" "(diagnostics)$1" "$actual"
    fi
}

# expect_err_after_any_library TEXT: standard error ended with exactly TEXT,
# after library diagnostics or after nothing: for failures that some library
# releases report and others leave to the program (a failed write or save).
expect_err_after_any_library() {
    local actual
    slurp actual "$err"
    [[ $actual == *"$1" ]] || fail "standard error should end with the program's lines" "$1" "$actual"
}

# expect_one_failed_line: standard error held one line starting "Failed": the
# program reported its failure once (not again when its output was checked).
expect_one_failed_line() {
    local count
    count=$(grep -c '^Failed' "$err")
    [[ $count == 1 ]] || fail "exactly one Failed line on standard error" "1" "$count"
}

# expect_library_err: standard error held library diagnostics only (no line
# of the program's own is expected, but some text is).
expect_library_err() { [[ -s $err ]] || fail "standard error should hold library diagnostics" "(diagnostics)" ""; }

# expect_clean TEXT: exit status 0, standard output exactly TEXT, nothing on
# standard error.
expect_clean() {
    expect_status 0
    expect_out "$1"
    expect_err ""
}

# expect_failure STATUS CHECK TEXT: exit status STATUS, nothing on standard
# output, and standard error as expect_CHECK TEXT finds it (CHECK is err,
# err_after_library or err_after_any_library).
expect_failure() {
    expect_status "$1"
    expect_out ""
    "expect_$2" "$3"
}

# expect_silent: nothing on either stream.
expect_silent() {
    expect_out ""
    expect_err ""
}

# skip NAME WHY: a case that cannot run here, said so with its reason.
skip() {
    end_case
    skipped=$((skipped + 1))
    echo "SKIPPED: $1: $2"
}

# finish: prints the tally and fails the script if any case failed; with
# none failed but some skipped, exits 77, which CTest shows as skipped.
finish() {
    end_case
    echo "Passed: $passed / Failed: $failed / Skipped: $skipped"
    ((failed == 0)) || return 1
    ((skipped == 0)) || exit 77
}
