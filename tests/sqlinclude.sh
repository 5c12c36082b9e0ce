#!/usr/bin/env bash
# sqlinclude: the fixed document with its include element replaced by the
# result served through the program's own "sql:" input callbacks.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

begin "prints the merged document; the library calls"
run_logged sqlinclude
expect_status 0
expect_out_file "$DATA/input/merged.xml"
expect_err ""
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReadMemory size=164 URL=include.xml encoding=(null) options=0\nxmlDocDump stdout parsed\nxmlFreeDoc parsed\nxmlCleanupParser\nxmlMemoryDump\n'

begin "callbacks the library refuses, or no inclusion made: the message, status 1, nothing written"
CALL_LOG_REFUSE=xmlRegisterInputCallbacks run_logged sqlinclude
expect_failure 1 err $'failed to register SQL handler\n'
expect_calls $'xmlCheckVersion LIBXML_VERSION\n'
CALL_LOG_REFUSE=xmlXIncludeProcess run_logged sqlinclude
expect_failure 1 err $'XInclude processing failed\n'

finish
