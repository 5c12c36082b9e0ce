#!/usr/bin/env bash
# readextract: the document the reader keeps under a preserve pattern, the
# default file and pattern, and the failures that still exit 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

# The documents are read from the scratch folder, so messages name them plainly.
cp "$DATA"/reader/* .

kept_log=$'<?xml version="1.0"?>
<log><preserved level="warn">disk <b>almost</b> full</preserved><preserved level="error">disk full</preserved></log>
'
kept_entries=$'<?xml version="1.0"?>
<log><entry level="info">started</entry><entry level="info">working</entry></log>
'

begin "a file and a pattern: the kept document, dumped after the reader is released"
run_logged readextract log.xml entry
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReaderForFile filename=log.xml encoding=(null) options=0\nxmlFreeTextReader\nxmlDocDump stdout other\nxmlFreeDoc other\nxmlCleanupParser\nxmlMemoryDump\n'
expect_clean "$kept_entries"
run readextract log.xml preserved
expect_out "$kept_log"
run readextract log.xml /log/preserved/b
expect_clean $'<?xml version="1.0"?>\n<log><preserved level="warn"><b>almost</b></preserved></log>\n'

begin "the default file test3.xml and pattern preserved"
cp log.xml test3.xml
for arguments in "" "log.xml" "log.xml entry extra"; do
    read -r -a words <<<"$arguments"
    run readextract "${words[@]}"
    expect_clean "$kept_log"
done

begin "no default file in the working folder"
mkdir elsewhere
cd elsewhere || exit 2
run readextract
cd "$WORK" || exit 2
expect_failure 0 err $'Unable to open test3.xml\n'

begin "a refused pattern: reported, and the file still read and written"
run readextract log.xml 'entry[1]'
expect_status 0
expect_err $'log.xml : failed add preserve pattern entry[1]\n'
expect_out $'<?xml version="1.0"?>\n'

begin "a malformed file: the failure only, no document"
run readextract broken.xml a
expect_failure 0 err_after_library $'broken.xml : failed to parse\n'

begin "a clean end without a kept document: nothing written"
CALL_LOG_REFUSE=xmlTextReaderCurrentDoc run_logged readextract log.xml entry
expect_clean ""

finish
