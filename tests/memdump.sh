#!/usr/bin/env bash
# memdump: the one-element document serialised to memory and printed.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

document=$'<?xml version="1.0"?>\n<root>content</root>\n'

begin "prints the document dumped indented, then releases it"
run_logged memdump
expect_clean "$document"
expect_calls $'xmlDocDumpFormatMemory other format=1\nxmlFreeDoc other\n'

finish
