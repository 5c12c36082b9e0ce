#!/usr/bin/env bash
# readmany: one reader over several files, one outcome line per file, and the
# files it cannot open or parse.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

# The documents are read from the scratch folder, so their URLs are plain names.
cp "$DATA"/reader/* .

begin "no argument"
run readmany
expect_status 1
expect_silent

begin "one well-formed file"
run readmany good1.xml
expect_clean $'good1.xml: Processed ok\n'

begin "three well-formed files, in the order given"
run readmany good2.xml good1.xml good3.xml
expect_clean $'good2.xml: Processed ok\ngood1.xml: Processed ok\ngood3.xml: Processed ok\n'
run readmany good1.xml good1.xml
expect_out $'good1.xml: Processed ok\ngood1.xml: Processed ok\n'

begin "a malformed file between well-formed ones"
run readmany good1.xml broken.xml good2.xml
expect_status 0
expect_out $'good1.xml: Processed ok\ngood2.xml: Processed ok\n'
expect_err_after_library $'broken.xml: Failed to parse\n'

begin "malformed files first and last: a new reader after a failure, the same one after a success"
run_logged readmany broken.xml good1.xml broken.xml
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReaderForFile filename=broken.xml encoding=(null) options=0\nxmlFreeDoc other\nxmlFreeTextReader\nxmlReaderForFile filename=good1.xml encoding=(null) options=0\nxmlReaderNewFile filename=broken.xml encoding=(null) options=0\nxmlFreeDoc other\nxmlFreeTextReader\nxmlCleanupParser\nxmlMemoryDump\n'
expect_status 0
expect_out $'good1.xml: Processed ok\n'
actual=$(grep -v 'parser error\|^</doc>\|^ *^$' "$err")
[[ $actual == $'broken.xml: Failed to parse\nbroken.xml: Failed to parse' ]] ||
    fail "one failure line per malformed file" $'broken.xml: Failed to parse\nbroken.xml: Failed to parse' "$actual"

begin "a missing first file: no reader, the rest not looked at"
run readmany missing.xml good1.xml broken.xml
expect_failure 1 err $'missing.xml: failed to create reader\n'

begin "a missing further file is reported under its own name"
run readmany good1.xml missing.xml
expect_status 0
expect_out $'good1.xml: Processed ok\n'
expect_err $'missing.xml: Failed to parse\n'
run readmany good1.xml missing.xml good2.xml other.xml
expect_status 0
expect_out $'good1.xml: Processed ok\ngood2.xml: Processed ok\n'
expect_err $'missing.xml: Failed to parse\nother.xml: Failed to parse\n'
run readmany broken.xml missing.xml
expect_failure 0 err_after_library $'broken.xml: Failed to parse\nmissing.xml: Failed to parse\n'

begin "a file that gives no document, then a new reader"
run_logged readmany good1.xml empty.xml good2.xml
expect_calls $'xmlCheckVersion LIBXML_VERSION\nxmlReaderForFile filename=good1.xml encoding=(null) options=0\nxmlReaderNewFile filename=empty.xml encoding=(null) options=0\nxmlFreeTextReader\nxmlReaderForFile filename=good2.xml encoding=(null) options=0\nxmlFreeDoc other\nxmlFreeTextReader\nxmlCleanupParser\nxmlMemoryDump\n'
expect_status 0
expect_out $'good1.xml: Processed ok\ngood2.xml: Processed ok\n'
expect_err_after_any_library $'failed to obtain document\n'

begin "the outcome line shows the URL the library recorded"
cp good1.xml "with blank.xml"
run readmany "with blank.xml" good2.xml "with blank.xml"
expect_status 0
expect_err ""
url=$(library_url "with blank.xml")
expect_out "$url: Processed ok"$'\n'"good2.xml: Processed ok"$'\n'"$url: Processed ok"$'\n'

# What a file gets is what it gets after a well-formed file, wherever it stands:
# after each kind of failing file, after runs of them, and first. The
# program's own lines are compared; the library's diagnostics are its own
# (2.15 reports an empty file to a new reader, not to a reset one).
own_err() {
    local line
    while IFS= read -r line; do
        [[ $line == *': Failed to parse' || $line == 'failed to obtain document' || $line == 'Failed to obtain URL' ]] &&
            printf '%s\n' "$line"
    done <"$err"
}
# expect_own_err LINES...: the program's lines on standard error were these.
expect_own_err() {
    local part expected=""
    for part; do
        [[ -z $part ]] || expected+=${expected:+$'\n'}$part
    done
    [[ $(own_err) == "$expected" ]] || fail "the program's lines on standard error" "$expected" "$(own_err)"
}
mkdir folder.xml
failing=(broken.xml empty.xml missing.xml folder.xml)
befores=("${failing[@]}" "broken.xml empty.xml" "missing.xml folder.xml broken.xml" "empty.xml missing.xml")
for target in good2.xml "${failing[@]}"; do
    begin "$target reported alike after any file before it"
    run readmany good1.xml "$target"
    slurp target_out "$out"
    target_out=${target_out#*$'\n'}
    target_err=$(own_err)
    [[ $target != good2.xml || $target_out == $'good2.xml: Processed ok\n' ]] ||
        fail "a well-formed file is processed" $'good2.xml: Processed ok\n' "$target_out"
    for before in "${befores[@]}"; do
        read -r -a before <<<"$before"
        run readmany good1.xml "${before[@]}"
        before_err=$(own_err)
        run readmany good1.xml "${before[@]}" "$target"
        expect_status 0
        expect_out "good1.xml: Processed ok"$'\n'"$target_out"
        expect_own_err "$before_err" "$target_err"
        [[ ${before[0]} == missing.xml ]] && continue
        run readmany "${before[@]}"
        before_err=$(own_err)
        run readmany "${before[@]}" "$target"
        expect_status 0
        expect_out "$target_out"
        expect_own_err "$before_err" "$target_err"
    done
done

finish
