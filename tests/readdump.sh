#!/usr/bin/env bash
# readdump: node lines, the cut of long values, failures and their exit status.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

# The documents are read from the scratch folder, so messages name them plainly.
cp "$DATA"/reader/* .

check_file_argument_counts readdump hello.xml

begin "start, text and end of an element, and the library calls"
run_logged readdump hello.xml
expect_clean $'0 1 doc 0 0\n1 3 #text 0 1 hello\n0 15 doc 0 0\n'
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReaderForFile filename=hello.xml encoding=(null) options=0\nxmlFreeTextReader\nxmlCleanupParser\nxmlMemoryDump\n'

begin "a reader that gives no name and fails a query: -- and -1 in their fields"
CALL_LOG_REFUSE="xmlTextReaderConstName xmlTextReaderIsEmptyElement" run_logged readdump hello.xml
expect_clean $'0 1 -- -1 0\n1 3 -- -1 1 hello\n0 15 -- -1 0\n'

begin "value tails: cut at byte 40, empty, absent, several lines, empty tag"
run readdump values.xml
expect_status 0
expect_err ""
expect_out_file values.lines

begin "deep nodes and names too long for the line buffer"
long_name=$(printf 'n%.0s' $(seq 300))
opening="" closing=""
for i in $(seq 12); do
    opening+="<d$i>"
    closing="</d$i>$closing"
done
printf '%s<%s x="1">v</%s>%s' "$opening" "$long_name" "$long_name" "$closing" >deep.xml
expected=""
for i in $(seq 12); do
    expected+="$((i - 1)) 1 d$i 0 0"$'\n'
done
expected+="12 1 $long_name 0 0"$'\n'"13 3 #text 0 1 v"$'\n'"12 15 $long_name 0 0"$'\n'
for i in $(seq 12 -1 1); do
    expected+="$((i - 1)) 15 d$i 0 0"$'\n'
done
run readdump deep.xml
expect_clean "$expected"

begin "lines at the buffer's limit and one byte past it, every number at its widest"
at_limit=$(printf 'p%.0s' $(seq 163)) value=$(printf 'v%.0s' $(seq 41)) numbers="-2147483648 -2147483648"
printf '<?%s %s?><?%s %s?><doc/>' "$at_limit" "$value" "${at_limit}q" "$value" >limit.xml
CALL_LOG_WIDEST="xmlTextReaderDepth xmlTextReaderNodeType xmlTextReaderIsEmptyElement xmlTextReaderHasValue" \
    run_logged readdump limit.xml
expect_clean "$numbers $at_limit $numbers ${value:0:40}...
$numbers ${at_limit}q $numbers ${value:0:40}...
$numbers doc $numbers
"

begin "a document broken part-way"
# Every node line the well-formed start of broken.xml can give, in order. How
# many of them come out before the error depends on the library's buffering,
# so the output must be a prefix of these lines, ending on a whole line, that
# holds at least the first element.
expected=$'0 1 doc 0 0\n'
for i in $(seq 10 79); do
    expected+=$'1 1 a 0 0\n'"2 3 #text 0 1 line $i"$'\n1 15 a 0 0\n'
done
CALL_LOG_TO=/dev/stderr run_logged readdump broken.xml
expect_status 0
expect_err_after_library "$(for_this_release $'xmlFreeTextReader\nbroken.xml : failed to parse\nxmlCleanupParser\nxmlMemoryDump\n')"$'\n'
expect_out_prefix "$expected" $'0 1 doc 0 0\n1 1 a 0 0\n2 3 #text 0 1 line 10\n1 15 a 0 0\n'

finish
