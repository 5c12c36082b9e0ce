#!/usr/bin/env bash
# parsevalid: parse with DTD validation through a parser context of its own.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

# validate_calls FILE: the calls for a file that yields a document: the
# document is freed before the context.
validate_calls() {
    printf '%s\n' "xmlCheckVersion LIBXML_VERSION" xmlNewParserCtxt \
        "xmlCtxtReadFile filename=$1 encoding=(null) options=2064" "xmlFreeDoc parsed" xmlFreeParserCtxt \
        xmlCleanupParser xmlMemoryDump
}

# no_document_calls FILE: the same for a file that yields no document.
no_document_calls() {
    validate_calls "$1" | sed '/^xmlFreeDoc parsed$/d'
}

check_file_argument_counts parsevalid "$DATA/parse/valid.xml"

# public-id.xml names its DTD by a public identifier, which this catalog maps
# to a local file; its system identifier, a URL, is not loaded.
export XML_CATALOG_FILES=$DATA/xml-catalog.xml

begin "valid documents, with an external DTD, one found through a catalog, and with an internal subset: no output"
for name in valid.xml public-id.xml internal-subset.xml; do
    run_logged parsevalid "$DATA/parse/$name"
    expect_clean ""
    expect_calls "$(validate_calls "$DATA/parse/$name")"$'\n'
done

begin "document that breaks its DTD: validity diagnostics, then the validate line"
run_logged parsevalid "$DATA/parse/invalid.xml"
expect_failure 0 err_after_library "Failed to validate $DATA/parse/invalid.xml"$'\n'
expect_calls "$(validate_calls "$DATA/parse/invalid.xml")"$'\n'

begin "nothing to validate against: no document type declaration, or a DTD that cannot be loaded"
for name in no-doctype.xml missing-dtd.xml; do
    run_logged parsevalid "$DATA/parse/$name"
    expect_failure 0 err_after_library "Failed to validate $DATA/parse/$name"$'\n'
    expect_calls "$(validate_calls "$DATA/parse/$name")"$'\n'
done

begin "malformed document: no document, only the parse line"
run_logged parsevalid "$DATA/parse/malformed.xml"
expect_failure 0 err_after_library "Failed to parse $DATA/parse/malformed.xml"$'\n'
expect_calls "$(no_document_calls "$DATA/parse/malformed.xml")"$'\n'

begin "missing file: the parse line, file name as given"
run_logged parsevalid "missing %s.xml"
expect_failure 0 err_after_library $'Failed to parse missing %s.xml\n'
expect_calls "$(no_document_calls "missing %s.xml")"$'\n'

finish
