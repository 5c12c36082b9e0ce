#!/usr/bin/env bash
# readvalid: node lines with entities substituted, the validity verdict, and
# the order of its messages after a parse failure.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

# The documents are read from the scratch folder, so messages name them plainly.
cp "$DATA"/reader/* .

check_file_argument_counts readvalid valid.xml

begin "a valid document, with the entity from its DTD substituted; the library calls"
run_logged readvalid valid.xml
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReaderForFile filename=valid.xml encoding=(null) options=2074\nxmlFreeTextReader\nxmlCleanupParser\nxmlMemoryDump\n'
expect_clean $'0 10 catalog 0 0
0 1 catalog 0 0
1 1 item 0 0
2 3 #text 0 1 Sprocket by Acme Widgets
1 15 item 0 0
1 1 item 0 0
2 3 #text 0 1 Gear
1 15 item 0 0
0 15 catalog 0 0
'

begin "a DTD named by a URL that a catalog maps to a local file: read from it, valid"
XML_CATALOG_FILES=$DATA/xml-catalog.xml run readvalid system-id.xml
expect_clean $'0 10 catalog 0 0
0 1 catalog 0 0
1 1 item 0 0
2 3 #text 0 1 Sprocket by Acme Widgets
1 15 item 0 0
0 15 catalog 0 0
'

begin "an invalid document: every node line, then the verdict"
run readvalid invalid.xml
expect_status 0
expect_err_after_library $'Document invalid.xml does not validate\n'
expect_out $'0 10 catalog 0 0
0 1 catalog 0 0
1 1 item 0 0
2 3 #text 0 1 No sku
1 15 item 0 0
1 1 note 0 0
2 3 #text 0 1 not declared
1 15 note 0 0
0 15 catalog 0 0
'

begin "a document without a document type declaration does not validate"
run readvalid nodtd.xml
expect_status 0
expect_err_after_library $'Document nodtd.xml does not validate\n'
expect_out $'0 1 catalog 0 0
1 1 item 0 0
2 3 #text 0 1 Sprocket
1 15 item 0 0
0 15 catalog 0 0
'

begin "the shared node line: cut values, empty and absent values, empty tags"
# values.xml has no DTD, so it does not validate; its lines are readdump's.
run readvalid values.xml
expect_status 0
expect_err_after_library $'Document values.xml does not validate\n'
expect_out_file values.lines

items() {
    local i
    for i in $(seq 10 69); do
        printf '1 1 item 0 0\n2 3 #text 0 1 part %d\n1 15 item 0 0\n' "$i"
    done
}

begin "a valid start broken part-way: node lines, then the parse failure only"
run readvalid broken-valid.xml
expect_status 0
expect_err_after_library $'broken-valid.xml : failed to parse\n'
expect_out_prefix $'0 10 catalog 0 0\n0 1 catalog 0 0\n'"$(items)" \
    $'0 10 catalog 0 0\n0 1 catalog 0 0\n1 1 item 0 0\n2 3 #text 0 1 part 10\n1 15 item 0 0\n'

begin "an invalid start broken part-way: the verdict, the reader released, then the parse failure"
CALL_LOG_TO=/dev/stderr run_logged readvalid broken-invalid.xml
expect_status 0
expect_err_after_library "$(for_this_release $'Document broken-invalid.xml does not validate\nxmlFreeTextReader\nbroken-invalid.xml : failed to parse\nxmlCleanupParser\nxmlMemoryDump\n')"$'\n'
expect_out_prefix $'0 10 catalog 0 0\n0 1 catalog 0 0\n1 1 item 0 0\n2 3 #text 0 1 No sku\n1 15 item 0 0\n'"$(items)" \
    $'0 10 catalog 0 0\n0 1 catalog 0 0\n1 1 item 0 0\n2 3 #text 0 1 No sku\n1 15 item 0 0\n'

finish
