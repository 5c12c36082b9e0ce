#!/usr/bin/env bash
# hostile: what the programs share. Every program that reads a file, run over
# one table of hostile inputs (missing, unreadable, empty, garbage, badly
# encoded, compressed, deep, explosive, huge and strangely named files), and
# readmany over 10,000 files at once; every program that writes, over output
# that cannot be written; and those that ignore arguments, given some.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/support/call_log.sh"

declaration=$'<?xml version="1.0"?>\n'

# The inputs, made here rather than kept in the repository: the large ones are
# generated, and some names cannot be stored in every checkout.
small=$'<doc><item a="1">caf\xc3\xa9</item></doc>\n'
printf '%s' "$small" >good.xml
mkdir folder.xml
: >empty.xml
printf '\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x00\x01\xff\xfe<\x00&#\xc3' >garbage.bin
printf '<doc>caf\xc3\x28 \xff\xfe</doc>\n' >bad-utf8.xml
{ printf '\xff\xfe'; printf '%s' "$small" | iconv -f UTF-8 -t UTF-16LE; } >utf16.xml
gzip -c good.xml >compressed.xml.gz
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "<a>"; for (i = 0; i < 100000; i++) printf "</a>"; print "" }' >deep.xml
# Ten levels of ten references each: 10^9 copies of "lol", about 3 GB once expanded.
{
    echo '<?xml version="1.0"?>'
    echo '<!DOCTYPE lolz ['
    echo ' <!ELEMENT lolz (#PCDATA)>'
    echo ' <!ENTITY lol "lol">'
    previous=lol
    for level in 1 2 3 4 5 6 7 8 9; do
        printf ' <!ENTITY lol%d "' "$level"
        for _ in 1 2 3 4 5 6 7 8 9 10; do printf '&%s;' "$previous"; done
        echo '">'
        previous=lol$level
    done
    echo ']>'
    echo '<lolz>&lol9;</lolz>'
} >bomb.xml
megabyte=$(head -c 1048576 /dev/zero | tr '\0' x)
printf '<doc><item a="%s"/></doc>\n' "$megabyte" >big-attribute.xml

# Strange names hold a broken document, so that every program's failure
# message shows the name, and readmany's line the library's URL for it; the
# missing file's name, a blank and a format directive, is shown as given.
declare -A file url
for key in missing folder empty garbage bad-utf8 utf16 gzip deep bomb big-attribute; do
    file[$key]=$key.xml
done
file[missing]='missing %s.xml'
file[folder]=folder.xml
file[garbage]=garbage.bin
file[gzip]=compressed.xml.gz
file[percent]='100%s%n%d.xml'
file[blanks]='two  blanks .xml'
file[newline]=$'new\nline.xml'
file[utf8-name]=$'caf\xc3\xa9.xml'
file[raw-byte]=$'raw\xff.xml'
for key in percent blanks newline utf8-name raw-byte; do
    printf 'not xml\n' >"${file[$key]}"
done

# Documents that name a host on the network as their DTD, an external entity
# and a parameter entity, over http and ftp. A listener of the test's own on
# 127.0.0.1 stands for the host: it counts the connections offered to it and
# answers the probe "count" with that number; it ends when killed after the
# rows, or by itself after 100 connections or 15 minutes. serialised[KEY] is
# the document type declaration as the library writes it back.
coproc listener {
    exec python3 -c '
import socket, time
server = socket.create_server(("127.0.0.1", 0))
print(server.getsockname()[1], flush=True)
server.settimeout(5)
offered, deadline = 0, time.monotonic() + 900
while offered < 100 and time.monotonic() < deadline:
    try:
        connection = server.accept()[0]
    except OSError:
        continue
    with connection:
        connection.settimeout(2)
        try:
            if connection.recv(64) != b"count\n":
                raise OSError
            connection.sendall(b"%d\n" % offered)
        except OSError:
            offered += 1
' 2>"$WORK/listener.err"
}
listener_pid=$!
# offered_connections: the listener's count so far, or "no answer".
offered_connections() {
    local answer="no answer" probe
    exec {probe}<>"/dev/tcp/127.0.0.1/$port" && echo count >&"$probe" && read -r -t 10 answer <&"$probe"
    printf '%s' "$answer"
}
# A loopback interface that is down (a build's network namespace) takes no
# connection at all: the network rows are then skipped, not passed.
read -r -t 10 port <&"${listener[0]}" && [[ $(offered_connections 2>>"$WORK/listener.err") == 0 ]] || port=""
declare -A serialised reference
offered_before=0
for scheme in http ftp; do
    host=$scheme://127.0.0.1:$port
    serialised[dtd-$scheme]="<!DOCTYPE doc SYSTEM \"$host/doc.dtd\">"
    serialised[entity-$scheme]=$'<!DOCTYPE doc [\n'"<!ENTITY e SYSTEM \"$host/e.xml\">"$'\n]>'
    serialised[parameter-$scheme]=$'<!DOCTYPE doc [\n'"<!ENTITY % p SYSTEM \"$host/p.dtd\">"$'\n]>'
    reference[entity-$scheme]='&e;'
    for key in {dtd,entity,parameter}-$scheme; do
        file[$key]=$key.xml prolog=${serialised[$key]}
        [[ $key == parameter-* ]] && prolog=${prolog/%]>/$'%p;\n]>'}
        printf '%s\n<doc><item a="1">caf\xc3\xa9</item>%s</doc>\n' "$prolog" "${reference[$key]:-}" >"$key.xml"
        table+=("$key ok doctype doctype doctype ok ok doctype ok invalid ok ok")
    done
done

for key in "${!file[@]}"; do
    url[$key]=$(library_url "${file[$key]}")
done

# The outcome each program gives on each input. ok: the document's normal
# output (big: that of the 1 MB attribute); fail: library diagnostics, then the
# program's parse-failure message; open: only the program's message for a
# file it cannot open; invalid: read, but reported as not valid (there is no
# DTD); nodoc: the reader keeps no document; partial: the node lines read
# before the library stops at its depth limit; doctype: the normal output of
# the network documents, their declaration kept, nothing loaded from the
# network, so that the validating programs find no DTD. "later" is readmany
# with the input between two good files.
#
# What the library decides differently between releases: 2.9.14 does not look
# for a byte order mark when a reader is reset, so a UTF-16 document is refused
# there after another file; from 2.15 on, only the reader still decompresses
# input by itself: the parser reads a compressed file as it is (the programs
# do not ask for decompression), so it fails to parse. After a reset, 2.15 has
# no diagnostic for an empty file or a folder.
utf16_later=ok
library_before 21300 && utf16_later=fail
if library_before 21500; then
    gzip_row="ok      ok         ok       invalid      ok       ok       ok          fail      invalid    ok           ok"
else
    gzip_row="fail    fail       ok       invalid      ok       ok       ok          fail      fail       fail         fail"
fi
table+=(
    # input       nodequery nodeupdate readdump readvalid    readmany later    readextract pushparse parsevalid listelements parsefile
    "missing        fail    fail       open     open         create   unopened open        quiet     fail       fail         fail"
    "folder         fail    fail       fail     fail         nodoc    nodoc    fail        quiet     fail       fail         fail"
    "empty          fail    fail       fail     fail         nodoc    nodoc    fail        quiet     fail       fail         fail"
    "garbage        fail    fail       fail     fail         fail     fail     fail        fail      fail       fail         fail"
    "bad-utf8       fail    fail       fail     invalidfail  fail     fail     fail        fail      fail       fail         fail"
    "utf16          ok      ok         ok       invalid      ok       $utf16_later ok          ok        invalid    ok           ok"
    "gzip           $gzip_row"
    "deep           fail    fail       partial  partial      fail     fail     fail        fail      fail       fail         fail"
    "bomb           fail    fail       fail     fail         fail     fail     fail        fail      fail       fail         fail"
    "big-attribute  big     big        big      big          ok       ok       big         ok        invalid    ok           ok"
    "percent        fail    fail       fail     fail         fail     fail     fail        fail      fail       fail         fail"
    "blanks         fail    fail       fail     fail         fail     fail     fail        fail      fail       fail         fail"
    "newline        fail    fail       fail     fail         fail     fail     fail        fail      fail       fail         fail"
    "utf8-name      fail    fail       fail     fail         fail     fail     fail        fail      fail       fail         fail"
    "raw-byte       fail    fail       fail     fail         fail     fail     fail        fail      fail       fail         fail"
)
columns=(nodequery nodeupdate readdump readvalid readmany readmany_later readextract pushparse parsevalid listelements parsefile)

node_lines=$'0 1 doc 0 0\n1 1 item 0 0\n2 3 #text 0 1 caf\xc3\xa9\n1 15 item 0 0\n0 15 doc 0 0\n'
big_node_lines=$'0 1 doc 0 0\n1 1 item 1 0\n0 15 doc 0 0\n'
doc_end=$'0 15 doc 0 0\n'
element_lines=$'node type: Element, name: doc\nnode type: Element, name: item\n'

unknown_outcome() {
    fail "no such outcome in the table: $1"
}

# The node lines of the nested a elements, from depth 0 down to where the
# library stopped: consecutive depths, no more than its limit of 256 levels.
expect_deep_node_lines() {
    local count expected="" depth
    count=$(wc -l <"$out")
    if ((count < 1 || count > 257)); then
        fail "node lines before the depth limit" "1 to 257 lines" "$count lines"
        return
    fi
    for ((depth = 0; depth < count; depth++)); do
        expected+="$depth 1 a 0 0"$'\n'
    done
    expect_out "$expected"
}

expect_no_validity_message() {
    ! grep -qF "does not validate" "$err" || fail "no validity message expected" "" "$(cat "$err")"
}

check_nodequery() {
    run nodequery "$2" '//@a'
    case $1 in
    ok | big) expect_clean $'Result (1 nodes):\n= node "a": type 2\n' ;;
    fail)
        expect_failure 255 err_after_library "Error: unable to parse file \"$2\""$'\n'"$nodequery_usage" ;;
    *) unknown_outcome "$1" ;;
    esac
}

check_nodeupdate() {
    run nodeupdate "$2" '//@a' v
    case $1 in
    ok) expect_clean "$declaration"$'<doc><item a="v">caf&#xE9;</item></doc>\n' ;;
    big) expect_clean "$declaration"$'<doc><item a="v"/></doc>\n' ;;
    doctype) expect_clean "$declaration${serialised[$key]}"$'\n<doc><item a="v">caf&#xE9;</item>'"${reference[$key]:-}"$'</doc>\n' ;;
    fail)
        expect_failure 255 err_after_library "Error: unable to parse file \"$2\""$'\n'"$nodeupdate_usage" ;;
    *) unknown_outcome "$1" ;;
    esac
}

check_readdump() {
    run readdump "$2"
    expect_status 0
    case $1 in
    ok) expect_out "$node_lines"; expect_err "" ;;
    big) expect_out "$big_node_lines"; expect_err "" ;;
    doctype) expect_out $'0 10 doc 0 0\n'"${node_lines%"$doc_end"}${reference[$key]:+$'1 5 e 0 0\n'}$doc_end"; expect_err "" ;;
    open) expect_out ""; expect_err "Unable to open $2"$'\n' ;;
    fail) expect_out ""; expect_err_after_library "$2 : failed to parse"$'\n' ;;
    partial) expect_deep_node_lines; expect_err_after_library "$2 : failed to parse"$'\n' ;;
    *) unknown_outcome "$1" ;;
    esac
}

check_readvalid() {
    run readvalid "$2"
    expect_status 0
    case $1 in
    invalid) expect_out "$node_lines"; expect_err_after_library "Document $2 does not validate"$'\n' ;;
    big) expect_out "$big_node_lines"; expect_err_after_library "Document $2 does not validate"$'\n' ;;
    doctype) expect_out $'0 10 doc 0 0\n'"$node_lines"; expect_err_after_library "Document $2 does not validate"$'\n' ;;
    open) expect_out ""; expect_err "Unable to open $2"$'\n' ;;
    fail)
        expect_out ""
        expect_err_after_library "$2 : failed to parse"$'\n'
        expect_no_validity_message ;;
    invalidfail)
        expect_out ""
        expect_err_after_library "Document $2 does not validate"$'\n'"$2 : failed to parse"$'\n' ;;
    partial)
        expect_deep_node_lines
        expect_err_after_library "Document $2 does not validate"$'\n'"$2 : failed to parse"$'\n' ;;
    *) unknown_outcome "$1" ;;
    esac
}

check_readmany() {
    run readmany "$2"
    case $1 in
    ok) expect_status 0; expect_out "$3: Processed ok"$'\n'; expect_err "" ;;
    create) expect_status 1; expect_out ""; expect_err "$2: failed to create reader"$'\n' ;;
    nodoc) expect_status 0; expect_out ""; expect_err_after_library $'failed to obtain document\n' ;;
    fail) expect_status 0; expect_out ""; expect_err_after_library "$3: Failed to parse"$'\n' ;;
    *) unknown_outcome "$1" ;;
    esac
}

check_readmany_later() {
    local own=""
    [[ $1 == ok ]] && own="$3: Processed ok"$'\n'
    run readmany good.xml "$2" good.xml
    expect_status 0
    expect_out "good.xml: Processed ok"$'\n'"${own}good.xml: Processed ok"$'\n'
    case $1 in
    ok) expect_err "" ;;
    unopened) expect_err "$2: Failed to parse"$'\n' ;;
    nodoc) expect_err_after_any_library $'failed to obtain document\n' ;;
    fail) expect_err_after_library "$3: Failed to parse"$'\n' ;;
    *) unknown_outcome "$1" ;;
    esac
}

check_readextract() {
    run readextract "$2" item
    expect_status 0
    case $1 in
    ok) expect_out "$declaration"$'<doc><item a="1">caf&#xE9;</item></doc>\n'; expect_err "" ;;
    big) expect_out "$declaration<doc><item a=\"$megabyte\"/></doc>"$'\n'; expect_err "" ;;
    doctype) expect_out "$declaration${serialised[$key]}"$'\n<doc><item a="1">caf&#xE9;</item></doc>\n'; expect_err "" ;;
    open) expect_out ""; expect_err "Unable to open $2"$'\n' ;;
    fail) expect_out ""; expect_err_after_library "$2 : failed to parse"$'\n' ;;
    *) unknown_outcome "$1" ;;
    esac
}

# The programs that print nothing for a document. pushparse opens the file
# itself and reads it raw: a compressed file reaches the parser as binary, and
# a file of no bytes never reaches it (quiet).
check_silent() {
    run "$1" "$3"
    expect_status 0
    expect_out ""
    case $2 in
    ok) expect_err "" ;;
    quiet) expect_err "Failed to parse $3"$'\n' ;;
    fail) expect_err_after_library "Failed to parse $3"$'\n' ;;
    invalid) expect_err_after_library "Failed to validate $3"$'\n' ;;
    *) unknown_outcome "$2" ;;
    esac
}
check_pushparse() { check_silent pushparse "$@"; }
check_parsevalid() { check_silent parsevalid "$@"; }
check_parsefile() { check_silent parsefile "$@"; }

check_listelements() {
    run listelements "$2"
    expect_status 0
    case $1 in
    ok) expect_out "$element_lines"; expect_err "" ;;
    fail) expect_out "error: could not parse file $2"$'\n'; expect_library_err ;;
    *) unknown_outcome "$1" ;;
    esac
}

for row in "${table[@]}"; do
    read -r key outcomes <<<"$row"
    read -r -a outcomes <<<"$outcomes"
    if [[ -n ${serialised[$key]:-} && -z $port ]]; then
        skip "hostile input: $key" "no connection to a listener on 127.0.0.1: $(head -n 1 "$WORK/listener.err")"
        continue
    fi
    begin "hostile input: $key"
    ((${#outcomes[@]} == ${#columns[@]})) || fail "table row has ${#outcomes[@]} outcomes"
    for i in "${!columns[@]}"; do
        "check_${columns[$i]}" "${outcomes[$i]}" "${file[$key]}" "${url[$key]}"
    done
    if [[ -n ${serialised[$key]:-} ]]; then
        command_line="the count of the listener on port $port"
        offered=$(offered_connections)
        [[ $offered == "$offered_before" ]] || fail "the listener's count of connections offered" "$offered_before" "$offered"
        offered_before=$offered
    fi
done
kill "$listener_pid" 2>/dev/null

# Files over 2 GiB, without writing one: on a 32-bit system no program imports
# a C library file function that has a large-file variant (fopen beside fopen64).
begin "files over 2 GiB: large-file functions on 32-bit"
if (($(getconf LONG_BIT) == 32)); then
    libc=$(ldd "$BIN/pushparse" | awk '$1 == "libc.so.6" { print $3 }') small=$WORK/.small-offsets
    nm -D --defined-only "$libc" | awk '{ sub(/@.*/, "", $NF) } $NF ~ /64$/ { print substr($NF, 1, length($NF) - 2) }' | sort -u >"$small"
    for page in "$(dirname "$0")"/../docs/man/*.1; do
        found=$(nm -D --undefined-only "$BIN/$(basename "$page" .1)" | awk '{ sub(/@.*/, "", $NF); print $NF }' | sort -u | comm -12 - "$small")
        [[ -s $small && -z $found ]] || fail "imports without large-file support: $(basename "$page" .1)" "" "$found"
    done
fi

# One reader reset 10,000 times, with a missing file halfway: every document is
# reported once, in order, and none is leaked or freed twice.
begin "readmany over 10,000 files"
mkdir many
names=()
expected=""
for ((i = 1; i <= 10000; i++)); do
    printf -v name 'many/f%05d.xml' "$i"
    printf '<doc n="%d"/>\n' "$i" >"$name"
    names+=("$name")
    expected+="$name: Processed ok"$'\n'
    ((i == 5000)) && names+=(many/missing.xml)
done
run readmany "${names[@]}"
expect_status 0
expect_out "$expected"
expect_err $'many/missing.xml: Failed to parse\n'

# Output that cannot be written: status 1 and the program's one message,
# "Failed to write output" (docbuild's "Failed to save -"), checked by
# expect_err (no other line), expect_err_after_library, or
# expect_err_after_any_library where some releases report the failed write
# and others do not.
unwritable=(
    # program    check                   arguments
    "nodequery    err                     $DATA/query/books.xml //book"
    "nodeupdate   err_after_any_library   $DATA/query/nested.xml //para x"
    "readdump     err                     $DATA/reader/hello.xml"
    "readvalid    err                     $DATA/reader/valid.xml"
    "readmany     err                     $DATA/reader/good1.xml $DATA/reader/good2.xml"
    "readextract  err_after_any_library   $DATA/reader/log.xml entry"
    "listelements err                     $DATA/parse/preorder.xml"
    "listelements err_after_library       $DATA/parse/malformed.xml"
    "memdump      err"
    "docbuild     err_after_any_library"
    "sqlinclude   err_after_any_library"
)
for row in "${unwritable[@]}"; do
    read -r program check arguments <<<"$row"
    read -r -a arguments <<<"$arguments"
    begin "output that cannot be written: $program ${arguments[*]##*/}"
    message=$'Failed to write output\n'
    [[ $program == docbuild ]] && message=$'Failed to save -\n'
    run_to /dev/full "$program" "${arguments[@]}"
    expect_status 1
    "expect_$check" "$message"
    expect_one_failed_line
done

# Arguments a program does not use change nothing: the same status, streams,
# library calls and files written as without them.
ignored=(
    # program and the arguments it uses | further arguments
    "memdump | extra.xml -"
    "memparse | one"
    "memparse | $DATA/parse/malformed.xml"
    "memparse | --help -x"
    "memparse | a b c d"
    "docbuild first.xml | second.xml third.xml"
    "sqlinclude | sql:select_nothing include.xml"
)
for row in "${ignored[@]}"; do
    read -r -a words <<<"${row%%|*}"
    read -r -a further <<<"${row#*|}"
    begin "arguments ignored: ${words[*]} ${further[*]##*/}"
    rm -rf without with && mkdir without with
    for folder in without with; do
        cd "$WORK/$folder" || exit 2
        run_logged "${words[@]}"
        echo "$status" >.status && cp "$out" "$err" "$calls"* .
        words+=("${further[@]}")
    done
    cd "$WORK" || exit 2
    changes=$(diff -r without with) || fail "what the further arguments changed" "" "$changes"
done

finish
