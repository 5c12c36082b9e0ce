#!/usr/bin/env bash
# memdump: the one-element document serialised to memory and printed.
source "$(dirname "$0")/lib.sh"

document=$'<?xml version="1.0"?>\n<root>content</root>\n'

begin "prints the indented document"
run memdump
expect_status 0
expect_out "$document"
expect_err ""

finish
