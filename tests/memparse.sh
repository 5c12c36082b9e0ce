#!/usr/bin/env bash
# memparse: parse of a fixed in-memory document; takes no input.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

memparse_calls=$'xmlCheckVersion LIBXML_VERSION
xmlReadMemory size=6 URL=noname.xml encoding=(null) options=0
xmlFreeDoc parsed
xmlCleanupParser
xmlMemoryDump\n'
printf '<doc/>' >"$WORK/.fixed-document"

begin "normal run: the 6 bytes <doc/> named noname.xml, nothing written"
run_logged memparse
expect_clean ""
expect_calls "$memparse_calls"
expect_parsed_bytes "$WORK/.fixed-document"

begin "no noname.xml in the working folder: none is created"
run memparse
expect_clean ""
[[ ! -e noname.xml ]] || fail "noname.xml was created"

begin "a malformed noname.xml in the working folder is neither read nor changed"
printf '<broken' >noname.xml
cp noname.xml before.xml
run memparse
expect_clean ""
cmp -s noname.xml before.xml || fail "noname.xml was changed"
rm noname.xml

begin "a folder named noname.xml changes nothing"
mkdir noname.xml
run memparse
expect_clean ""
[[ -d noname.xml && -z $(ls -A noname.xml) ]] || fail "the folder noname.xml was touched"
rmdir noname.xml

finish
