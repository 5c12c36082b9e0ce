#!/usr/bin/env bash
# parsefile: whole-file parse, failures reported on standard error.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

check_file_argument_counts parsefile "$DATA/parse/valid.xml"

begin "well-formed file: no output; read without options, then freed"
run_logged parsefile "$DATA/parse/valid.xml"
expect_clean ""
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReadFile filename='"$DATA"$'/parse/valid.xml encoding=(null) options=0\nxmlFreeDoc parsed\nxmlCleanupParser\nxmlMemoryDump\n'

begin "no validation: a document that breaks or lacks its DTD is not reported"
for name in invalid.xml missing-dtd.xml; do
    run_logged parsefile "$DATA/parse/$name"
    expect_clean ""
done

begin "malformed file: diagnostics, then the line"
run_logged parsefile "$DATA/parse/malformed.xml"
expect_failure 0 err_after_library "Failed to parse $DATA/parse/malformed.xml"$'\n'
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReadFile filename='"$DATA"$'/parse/malformed.xml encoding=(null) options=0\nxmlCleanupParser\nxmlMemoryDump\n'
run_logged parsefile "$DATA/parse/empty.xml"
expect_status 0
expect_err_after_library "Failed to parse $DATA/parse/empty.xml"$'\n'

finish
