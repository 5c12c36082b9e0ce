#!/usr/bin/env bash
# docbuild: the built document, on standard output or in the named file, and
# the failed save reported once with exit status 1.
source "$(dirname "$0")/lib.sh"

expected="$DATA/build/docbuild.xml"

# expect_file FILE: FILE holds exactly the expected document.
expect_file() {
    if [[ ! -f $1 ]]; then
        fail "file $1 was not written"
    elif ! cmp -s "$1" "$expected"; then
        fail "contents of $1" "$(cat "$expected")" "$(cat "$1")"
    fi
}

# expect_only_failure_line LINE: LINE is the program's one message, so no
# other "Failed" line (such as the output check's) follows the library's.
expect_only_failure_line() {
    expect_err_after_any_library "$1"
    local count
    count=$(grep -c '^Failed' "$err")
    [[ $count == 1 ]] || fail "exactly one Failed line on standard error" "1" "$count"
}

begin "without arguments the document goes to standard output"
run docbuild
expect_status 0
expect_out_file "$expected"
expect_err ""

begin "\"-\" also names standard output"
run docbuild -
expect_status 0
expect_out_file "$expected"
expect_err ""
[[ ! -e ./- ]] || fail "a file named - was created"

begin "the argument names the output file"
run docbuild built.xml
expect_status 0
expect_silent
expect_file built.xml

begin "further arguments are ignored"
run docbuild first.xml second.xml third.xml
expect_status 0
expect_silent
expect_file first.xml
[[ ! -e second.xml && ! -e third.xml ]] || fail "a further argument was used as an output file"

begin "an existing longer file is replaced, not overwritten in place"
head -c 2000 /dev/zero | tr '\0' x >existing.xml
run docbuild existing.xml
expect_status 0
expect_silent
expect_file existing.xml

begin "a file in a missing folder is reported as a failed save"
run docbuild "$WORK/missing/out.xml"
expect_status 1
expect_out ""
expect_only_failure_line "Failed to save $WORK/missing/out.xml"$'\n'
[[ ! -e $WORK/missing ]] || fail "the missing folder appeared"

begin "a full standard output is reported as a failed save"
run_to /dev/full docbuild
expect_status 1
expect_only_failure_line $'Failed to save -\n'

finish
