#!/usr/bin/env bash
# memdump: the one-element document serialised to memory and printed.
source "$(dirname "$0")/lib.sh"

document=$'<?xml version="1.0"?>\n<root>content</root>\n'

begin "prints the indented document"
run memdump
expect_status 0
expect_out "$document"
expect_err ""

begin "arguments are ignored"
run memdump extra.xml -
expect_status 0
expect_out "$document"
expect_err ""
[[ ! -e extra.xml && ! -e ./- ]] || fail "an argument was used as a file"

begin "a full standard output is reported"
run_to /dev/full memdump
expect_status 1
expect_err $'Failed to write output\n'

finish
