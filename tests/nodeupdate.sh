#!/usr/bin/env bash
# nodeupdate: the reverse-order update, the written document and failures.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

nested=$DATA/query/nested.xml
header='<?xml version="1.0"?>
'

check_argument_counts nodeupdate 255 "Error: wrong number of arguments.
$nodeupdate_usage" "" "$nested //para" "$nested //para x extra"

begin "selected elements get the value as their only content; the library calls"
run_logged nodeupdate "$nested" '//para' 'new'
expect_calls $'xmlInitParser\nxmlCheckVersion LIBXML_VERSION\nxmlResetLastError\nxmlParseFile filename='"$nested"$'\nxmlResetLastError\nxmlXPathFreeObject\nxmlXPathFreeContext\nxmlDocDump stdout parsed\nxmlFreeDoc parsed\nxmlCleanupParser\nxmlMemoryDump\n'
expect_clean "$header"'<root xmlns:p="urn:p">
  <section id="s1"><para>new</para><para>new</para></section>
  <section id="s2"><para>new</para></section>
</root>
'

begin "an attribute update changes its value"
run nodeupdate "$nested" '//section[2]/@id' 'last'
expect_status 0
expect_out "$header"'<root xmlns:p="urn:p">
  <section id="s1"><para>first</para><para>second</para></section>
  <section id="last"><para>third</para></section>
</root>
'

begin "an ancestor selected with its descendants keeps only its new content"
run nodeupdate "$nested" '//section[1] | //section[1]/para | //section[1]/para/text()' 'flat'
expect_clean "$header"'<root xmlns:p="urn:p">
  <section id="s1">flat</section>
  <section id="s2"><para>third</para></section>
</root>
'

begin "namespace nodes are left as they are, also under a replaced ancestor"
run nodeupdate "$nested" '/root | //para/namespace::* | //section/@id' 'gone'
expect_clean "$header"'<root xmlns:p="urn:p">gone</root>
'
run nodeupdate "$nested" '//namespace::p' 'urn:changed'
expect_status 0
expect_out_file "$nested"

begin "entity references in the value are resolved, markup characters escaped"
run nodeupdate "$nested" '//section[2]/para' 'a < b &amp; c'
expect_status 0
expect_out "$header"'<root xmlns:p="urn:p">
  <section id="s1"><para>first</para><para>second</para></section>
  <section id="s2"><para>a &lt; b &amp; c</para></section>
</root>
'

begin "nothing selected, or not a node set: the document is written unchanged"
for expression in '//missing' 'count(//para)' 'true()'; do
    run nodeupdate "$nested" "$expression" 'x'
    expect_status 0
    expect_err ""
    expect_out_file "$nested"
done

begin "an expression that cannot be evaluated"
run nodeupdate "$nested" '//p:para' 'x'
expect_failure 255 err_after_library "Error: unable to evaluate xpath expression \"//p:para\"
$nodeupdate_usage"

begin "a file that cannot be parsed, or handed back after a failed allocation"
run nodeupdate "$DATA/query/broken.xml" '//a' 'x'
expect_failure 255 err_after_library "Error: unable to parse file \"$DATA/query/broken.xml\"
$nodeupdate_usage"
CALL_LOG_REFUSE=xmlGetLastError run_logged nodeupdate "$nested" //para x
expect_failure 255 err "Error: unable to parse file \"$nested\"
$nodeupdate_usage"

finish
