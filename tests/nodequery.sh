#!/usr/bin/env bash
# nodequery: result lines, namespace lists, failures and their exit status.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

books=$DATA/query/books.xml
spaces=$DATA/query/namespaces.xml
dc=http://purl.org/dc/elements/1.1/

check_argument_counts nodequery 255 "Error: wrong number of arguments.
$nodequery_usage" "" "$books" "$books //book a=urn:a extra"

begin "elements, attributes, text and comments; the library calls"
run_logged nodequery "$books" '//book'
expect_calls $'xmlInitParser\nxmlCheckVersion LIBXML_VERSION\nxmlResetLastError\nxmlParseFile filename='"$books"$'\nxmlResetLastError\nxmlXPathFreeObject\nxmlXPathFreeContext\nxmlFreeDoc parsed\nxmlCleanupParser\nxmlMemoryDump\n'
expect_clean 'Result (2 nodes):
= element node "book"
= element node "book"
'
run nodequery "$books" '//book[1]/@* | //book[1]/title/text() | //comment()'
expect_out 'Result (4 nodes):
= node "id": type 2
= node "lang": type 2
= node "text": type 3
= node "comment": type 8
'
run nodequery "$books" '//book[@id="b2"]'
expect_out 'Result (1 nodes):
= element node "book"
'

begin "the document node has no name"
run nodequery "$books" '/'
expect_status 0
expect_out 'Result (1 nodes):
= node "(null)": type 9
'

begin "values that are not node sets, and empty results"
for expression in 'count(//book)' 'boolean(//book)' 'string(//title)' '//missing'; do
    run nodequery "$books" "$expression"
    expect_status 0
    expect_out 'Result (0 nodes):
'
    expect_err ""
done

begin "elements in a namespace show its URI, never the prefix, also one the library warns about"
run nodequery "$spaces" '//c:entry/dc:creator | //plain | //c:catalog' "c=urn:example:catalog dc=$dc"
expect_status 0
expect_out "Result (3 nodes):
= element node \"urn:example:catalog:catalog\"
= element node \"$dc:creator\"
= element node \"plain\"
"
printf '<a xmlns="rel"/>\n' >relative.xml
run nodequery relative.xml '/*'
expect_out $'Result (1 nodes):\n= element node "rel:a"\n'
expect_library_err

begin "namespace lists with extra, leading and trailing spaces"
for list in "  c=urn:example:catalog    dc=$dc  " "c=urn:example:catalog dc=$dc "; do
    run nodequery "$spaces" '//dc:title' "$list"
    expect_status 0
    expect_out "Result (1 nodes):
= element node \"$dc:title\"
"
done

begin "empty namespace lists register nothing"
for list in "" "   "; do
    run nodequery "$books" '//year' "$list"
    expect_status 0
    expect_out 'Result (2 nodes):
= element node "year"
= element node "year"
'
done

begin "only the first equals sign splits a pair"
run nodequery "$spaces" '//q:query' 'q=urn:x?a=b;c=d'
expect_status 0
expect_out 'Result (1 nodes):
= element node "urn:x?a=b;c=d:query"
'

begin "a tab is not a separator"
run nodequery "$spaces" '//q:query' $'q=urn:x?a=b;c=d\tdc=x'
expect_status 0
expect_out 'Result (0 nodes):
'

begin "namespace nodes name their element"
run nodequery "$spaces" '/*/namespace::* | //plain/namespace::*'
expect_status 0
expect_out "Result (6 nodes):
= namespace \"xml\"=\"http://www.w3.org/XML/1998/namespace\" for node urn:example:catalog:catalog
= namespace \"dc\"=\"$dc\" for node urn:example:catalog:catalog
= namespace \"(null)\"=\"urn:example:catalog\" for node urn:example:catalog:catalog
= namespace \"xml\"=\"http://www.w3.org/XML/1998/namespace\" for node plain
= namespace \"dc\"=\"$dc\" for node plain
= namespace \"(null)\"=\"\" for node plain
"

begin "a pair without an equals sign"
run nodequery "$spaces" '//dc:title' "dc=$dc nonsense"
expect_failure 255 err "Error: invalid namespaces list format
Error: failed to register namespaces list \"dc=$dc nonsense\"
$nodequery_usage"

begin "a pair the library refuses"
run nodequery "$spaces" '//a' '=urn:a'
expect_failure 255 err "Error: unable to register NS with prefix=\"\" and href=\"urn:a\"
Error: failed to register namespaces list \"=urn:a\"
$nodequery_usage"

begin "an unregistered prefix fails at evaluation"
run nodequery "$spaces" '//x:a' "dc=$dc"
expect_failure 255 err_after_library "Error: unable to evaluate xpath expression \"//x:a\"
$nodequery_usage"

begin "a malformed expression"
run nodequery "$books" '//['
expect_failure 255 err_after_library "Error: unable to evaluate xpath expression \"//[\"
$nodequery_usage"

begin "files that cannot be parsed"
for file in "$DATA/query/broken.xml" "$WORK/100%s%n.xml"; do
    run nodequery "$file" '/'
    expect_failure 255 err_after_library "Error: unable to parse file \"$file\"
$nodequery_usage"
done
# A document handed back after a failed allocation is not used, but released.
CALL_LOG_REFUSE=xmlGetLastError run_logged nodequery "$books" //book
expect_calls $'xmlInitParser\nxmlCheckVersion LIBXML_VERSION\nxmlResetLastError\nxmlParseFile filename='"$books"$'\nxmlFreeDoc parsed\n'
expect_failure 255 err "Error: unable to parse file \"$books\"
$nodequery_usage"

finish
