# readmany: one reader over several files, one outcome line per file, and the
# files it cannot open or parse.
source "$(dirname "$0")/lib.sh"

# The documents are read from the scratch folder, so their URLs are plain names.
cp "$DATA"/reader/* .

begin "no argument"
run readmany
expect_status 1
expect_silent

begin "one well-formed file"
run readmany good1.xml
expect_status 0
expect_err ""
expect_out $'good1.xml: Processed ok\n'

begin "three well-formed files, in the order given"
run readmany good2.xml good1.xml good3.xml
expect_status 0
expect_err ""
expect_out $'good2.xml: Processed ok\ngood1.xml: Processed ok\ngood3.xml: Processed ok\n'
run readmany good1.xml good1.xml
expect_out $'good1.xml: Processed ok\ngood1.xml: Processed ok\n'

begin "a malformed file between well-formed ones"
run readmany good1.xml broken.xml good2.xml
expect_status 0
expect_out $'good1.xml: Processed ok\ngood2.xml: Processed ok\n'
expect_err_after_library $'broken.xml: Failed to parse\n'

begin "malformed files first and last"
run readmany broken.xml good1.xml broken.xml
expect_status 0
expect_out $'good1.xml: Processed ok\n'
actual=$(grep -v 'parser error\|^</doc>\|^ *^$' "$err")
[[ $actual == $'broken.xml: Failed to parse\nbroken.xml: Failed to parse' ]] ||
    fail "one failure line per malformed file" $'broken.xml: Failed to parse\nbroken.xml: Failed to parse' "$actual"

begin "a missing first file: no reader, the rest not looked at"
run readmany missing.xml good1.xml broken.xml
expect_status 1
expect_out ""
expect_err $'missing.xml: failed to create reader\n'

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
expect_status 0
expect_out ""
expect_err_after_library $'broken.xml: Failed to parse\nmissing.xml: Failed to parse\n'

begin "a file that gives no document"
run readmany good1.xml empty.xml good2.xml
expect_status 0
expect_out $'good1.xml: Processed ok\ngood2.xml: Processed ok\n'
expect_err_after_library $'failed to obtain document\n'

begin "the outcome line shows the URL the library recorded"
cp good1.xml "with blank.xml"
run readmany "with blank.xml" good2.xml "with blank.xml"
expect_status 0
expect_err ""
expect_out $'with%20blank.xml: Processed ok\ngood2.xml: Processed ok\nwith%20blank.xml: Processed ok\n'

begin "output that cannot be written"
run_to /dev/full readmany good1.xml good2.xml
expect_status 1
expect_err $'Failed to write output\n'

finish
