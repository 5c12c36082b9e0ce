#!/usr/bin/env bash
# docbuild: the built document, on standard output or in the named file, and
# the failed save reported once with exit status 1.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

expected="$DATA/build/docbuild.xml"

begin "without arguments the document goes to standard output; the library calls"
run_logged docbuild
expect_status 0
expect_out_file "$expected"
expect_err ""
# The document is released before the library's clean-up.
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlFreeDoc other\nxmlCleanupParser\nxmlMemoryDump\n'

begin "a part the library cannot make fails the save; what was made is released"
CALL_LOG_REFUSE=xmlNewDocText run_logged docbuild
expect_failure 1 err "Failed to save -"$'\n'
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlFreeNode\nxmlFreeDoc other\nxmlCleanupParser\nxmlMemoryDump\n'

begin "\"-\" also names standard output"
run docbuild -
expect_status 0
expect_out_file "$expected"
expect_err ""
[[ ! -e ./- ]] || fail "a file named - was created"

begin "the argument names the output file"
run docbuild built.xml
expect_clean ""
expect_bytes "contents of built.xml" built.xml "$expected"

begin "an existing longer file is replaced, not overwritten in place"
head -c 2000 /dev/zero | tr '\0' x >existing.xml
run docbuild existing.xml
expect_clean ""
expect_bytes "contents of existing.xml" existing.xml "$expected"

begin "a file in a missing folder is reported as a failed save"
run docbuild "$WORK/missing/out.xml"
expect_failure 1 err_after_any_library "Failed to save $WORK/missing/out.xml"$'\n'
expect_one_failed_line
[[ ! -e $WORK/missing ]] || fail "the missing folder appeared"

finish
