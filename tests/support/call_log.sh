# shellcheck shell=bash
# Sourced after lib.sh by the test scripts that check library calls: runs a
# program with the call-logging test library preloaded, so a case can check
# which library calls the program made, in which order and with which
# arguments; and the checks of wrong argument counts, which come before any.

: "${out:?call_log.sh is sourced after lib.sh}"

call_log_library=$HELPERS/libcall_log.so
[[ -f $call_log_library ]] || {
    echo "missing test helper $call_log_library" >&2
    exit 2
}
calls="$WORK/.calls"

# run_logged PROGRAM ARG...: as run; the calls are logged to $calls and the
# bytes handed to the parser to $calls.data.
run_logged() { run_logged_to "$out" "$@"; }

# run_logged_to FILE PROGRAM ARG...: as run_to, with the calls logged. With
# CALL_LOG_TO=/dev/stderr the lines go into standard error instead, each where
# the call was made, for the order of the calls and the program's messages.
run_logged_to() {
    rm -f "$calls" "$calls.data"
    : >"$calls"
    CALL_LOG=${CALL_LOG_TO:-$calls} LD_PRELOAD=$call_log_library \
        ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 run_to "$@"
}

# for_this_release CALLS: the expected calls as this library release has them:
# from 2.13 on the memory report is gone, so the programs do not make it.
for_this_release() {
    if library_before 21300; then
        printf '%s' "$1"
    else
        printf '%s' "$1" | sed '/^xmlMemoryDump$/d'
    fi
}

# expect_calls TEXT: the program made exactly these library calls, one per line.
expect_calls() {
    local expected
    capture expected for_this_release "$1"
    expect_text "library calls" "$calls" "$expected"
}

# expect_first_calls TEXT: the program's first library calls were exactly
# these lines (for cases where what follows is the library's choice).
expect_first_calls() {
    local lines actual expected
    capture expected for_this_release "$1"
    lines=$(printf '%s' "$expected" | wc -l)
    capture actual head -n "$lines" "$calls"
    [[ $actual == "$expected" ]] || fail "first library calls" "$expected" "$actual"
}

# expect_parsed_bytes FILE: the bytes handed to the parser were exactly FILE's.
expect_parsed_bytes() {
    [[ -f $calls.data ]] || : >"$calls.data"
    expect_bytes "bytes handed to the parser" "$calls.data" "$1"
}

# check_argument_counts PROGRAM STATUS MESSAGE ARGUMENTS...: PROGRAM, given
# each ARGUMENTS (split at blanks), ends with STATUS and MESSAGE on standard
# error before any library call, with nothing on standard output.
check_argument_counts() {
    local arguments words
    begin "wrong argument counts: status $2, no library call"
    for arguments in "${@:4}"; do
        read -r -a words <<<"$arguments"
        run_logged "$1" "${words[@]}"
        expect_status "$2"
        expect_out ""
        expect_err "$3"
        expect_calls ""
    done
}

# check_file_argument_counts PROGRAM FILE: a program that takes exactly one
# file, given none, two or three, returns 1 without a word.
check_file_argument_counts() { check_argument_counts "$1" 1 "" "" "$2 $2" "$2 $2 $2"; }
