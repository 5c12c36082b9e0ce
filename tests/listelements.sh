#!/usr/bin/env bash
# listelements: one line per element of a file, depth first, on standard output.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

# lines NAME...: the expected output, one element line per name.
lines() {
    printf 'node type: Element, name: %s\n' "$@"
}

check_file_argument_counts listelements "$DATA/parse/preorder.xml"

begin "pre-order: each element before its descendants, then its following siblings"
run_logged listelements "$DATA/parse/preorder.xml"
expect_clean "$(lines r x y z)"$'\n'
# Read without options; the library's clean-up runs, its memory report does not.
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReadFile filename='"$DATA"$'/parse/preorder.xml encoding=(null) options=0\nxmlFreeDoc parsed\nxmlCleanupParser\n'

begin "text, comments, CDATA, processing instructions and attributes print nothing"
run listelements "$DATA/parse/root-only.xml"
expect_clean "$(lines root)"$'\n'

begin "namespaced elements print their local name"
run listelements "$DATA/parse/namespaces.xml"
expect_clean "$(lines library book title creator)"$'\n'

begin "nodes before and after the root, and DTD declarations, print nothing"
run listelements "$DATA/parse/around-root.xml"
expect_clean "$(lines shelf box box)"$'\n'

begin "entity references are leaves: entity contents and declarations are not listed"
run listelements "$DATA/parse/entities.xml"
expect_clean "$(lines memo head body foot)"$'\n'

begin "entities whose elements refer to each other: no endless descent"
run listelements "$DATA/parse/recursive-entities.xml"
expect_clean "$(lines r)"$'\n'

begin "nesting as deep as the library reads without its huge option"
depth=256
{
    for ((i = 0; i < depth; ++i)); do printf '<e%d>' "$i"; done
    for ((i = depth - 1; i >= 0; --i)); do printf '</e%d>' "$i"; done
    echo
} >deep.xml
run listelements deep.xml
expect_clean "$(for ((i = 0; i < depth; ++i)); do lines "e$i"; done)"$'\n'

begin "nesting far deeper than the library reads: a parse failure, not a crash"
{
    for ((i = 0; i < 100000; ++i)); do printf '<a>'; done
    for ((i = 0; i < 100000; ++i)); do printf '</a>'; done
} >deeper.xml
run listelements deeper.xml
expect_status 0
expect_out $'error: could not parse file deeper.xml\n'
expect_library_err

begin "unparsable file: the line on standard output, diagnostics on standard error"
run_logged listelements "$DATA/parse/malformed.xml"
expect_status 0
expect_out "error: could not parse file $DATA/parse/malformed.xml"$'\n'
expect_library_err
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReadFile filename='"$DATA"$'/parse/malformed.xml encoding=(null) options=0\nxmlCleanupParser\n'

finish
