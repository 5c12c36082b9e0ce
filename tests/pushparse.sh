#!/usr/bin/env bash
# pushparse: chunked push parse of one file, failures reported on standard error.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

# push_calls FILE: the library calls expected for a non-empty, readable FILE:
# its first chunk (up to 4 bytes) at context creation, one call per further
# chunk of up to 4 bytes, whatever the parser thinks of them, one terminating
# call of size 0, then the context freed before the document.
push_calls() {
    local size first rest chunk
    size=$(stat -c %s "$1")
    first=$((size < 4 ? size : 4))
    rest=$((size - first))
    echo "xmlCheckVersion LIBXML_VERSION"
    echo "xmlCreatePushParserCtxt sax=(null) user_data=(null) buffer=1 size=$first filename=$1"
    while ((rest > 0)); do
        chunk=$((rest < 4 ? rest : 4))
        echo "xmlParseChunk buffer=1 size=$chunk terminate=0"
        rest=$((rest - chunk))
    done
    printf '%s\n' "xmlParseChunk buffer=1 size=0 terminate=1" xmlFreeParserCtxt "xmlFreeDoc parsed" \
        xmlCleanupParser xmlMemoryDump
}

# check_pushed FILE [failed]: pushparse feeds all of FILE in those calls and
# prints nothing, or, with "failed", diagnostics and then its failure line.
check_pushed() {
    run_logged pushparse "$1"
    if [[ ${2:-} == failed ]]; then
        expect_failure 0 err_after_library "Failed to parse $1"$'\n'
    else
        expect_clean ""
    fi
    expect_calls "$(push_calls "$1")"$'\n'
    expect_parsed_bytes "$1"
}

no_parser_calls=$'xmlCheckVersion LIBXML_VERSION\nxmlCleanupParser\nxmlMemoryDump\n'

check_file_argument_counts pushparse "$DATA/parse/valid.xml"

begin "empty file: reported without a parser"
run_logged pushparse "$DATA/parse/empty.xml"
expect_failure 0 err "Failed to parse $DATA/parse/empty.xml"$'\n'
expect_calls "$no_parser_calls"

begin "missing file and unreadable path: the same message, no parser"
mkdir "$WORK/folder.xml"
for name in "$WORK/missing.xml" "$WORK/folder.xml"; do
    run_logged pushparse "$name"
    expect_failure 0 err "Failed to parse $name"$'\n'
    expect_calls "$no_parser_calls"
done

begin "files of 1 to 3 bytes: handed over whole at context creation"
for content in '<' '<a' '<a>'; do
    printf '%s' "$content" >short.xml
    run_logged pushparse short.xml
    expect_failure 0 err_after_library $'Failed to parse short.xml\n'
    # Whether a partial document exists to free depends on how far the library got.
    expect_first_calls "xmlCheckVersion LIBXML_VERSION
xmlCreatePushParserCtxt sax=(null) user_data=(null) buffer=1 size=${#content} filename=short.xml
xmlParseChunk buffer=1 size=0 terminate=1
xmlFreeParserCtxt
"
    expect_parsed_bytes short.xml
done

begin "chunks of 4 bytes, no empty data chunk, a partial last chunk"
# One sequence written out, to pin down what push_calls generates.
printf '<abcd></abcd>' >thirteen.xml
run_logged pushparse thirteen.xml
expect_clean ""
expect_calls $'xmlCheckVersion LIBXML_VERSION
xmlCreatePushParserCtxt sax=(null) user_data=(null) buffer=1 size=4 filename=thirteen.xml
xmlParseChunk buffer=1 size=4 terminate=0
xmlParseChunk buffer=1 size=4 terminate=0
xmlParseChunk buffer=1 size=1 terminate=0
xmlParseChunk buffer=1 size=0 terminate=1
xmlFreeParserCtxt
xmlFreeDoc parsed
xmlCleanupParser
xmlMemoryDump\n'
expect_parsed_bytes thirteen.xml
for content in '<a/>' $'<abc></abc>\n' '<abcde></abcde>'; do
    printf '%s' "$content" >sized.xml
    check_pushed sized.xml
done

begin "well-formed documents, multi-byte characters across chunks: no output"
for name in utf8.xml valid.xml no-doctype.xml; do
    check_pushed "$DATA/parse/$name"
done

begin "no validation: a document that breaks its DTD is well formed"
check_pushed "$DATA/parse/invalid.xml"

begin "not well formed: diagnostics, then the line; the whole file is still fed"
for name in broken-early.xml malformed.xml; do
    check_pushed "$DATA/parse/$name" failed
done

begin "errors only the last chunk or the terminating call can reveal"
printf '<a></a><b/>' >extra.xml
printf '<a><b></b>' >unclosed.xml
for name in extra.xml unclosed.xml; do
    check_pushed "$name" failed
done

finish
