#!/usr/bin/env bash
# sqlinclude: the fixed document with its include element replaced by the
# result served through the program's own "sql:" input callbacks.
source "$(dirname "$0")/lib.sh"

begin "prints the merged document"
run sqlinclude
expect_status 0
expect_out_file "$DATA/input/merged.xml"
expect_err ""

begin "arguments are ignored"
run sqlinclude sql:select_nothing include.xml
expect_status 0
expect_out_file "$DATA/input/merged.xml"
expect_err ""

begin "a full standard output is reported"
run_to /dev/full sqlinclude
expect_status 1
expect_err_after_any_library $'Failed to write output\n'

finish
