#!/usr/bin/env bash
# A short tour: runs each built program on the sample documents of this folder
# and shows what it prints. Usage: tour.sh BIN-FOLDER
set -u
bin=$(cd "${1:?usage: tour.sh BIN-FOLDER}" && pwd)
cd "$(dirname "$0")" || exit 1

# show PROGRAM ARG...: prints the command, then what it wrote to both streams
# and its exit status. Programs not built yet are skipped.
show() {
    local program=$1
    shift
    [[ -x $bin/$program ]] || return 0
    printf '$ %s' "$program"
    (($#)) && printf ' %q' "$@"
    printf '\n'
    # Line-buffered, so the two streams interleave as they would on a terminal.
    stdbuf -oL "$bin/$program" "$@" 2>&1
    printf '[exit status %d]\n\n' "$?"
}

section() {
    [[ -x $bin/$1 ]] || return 0
    printf '=== %s: %s ===\n\n' "$1" "$2"
}

section nodequery "describe the nodes an XPath expression selects"
show nodequery books.xml '//book/@id'
show nodequery books.xml '//dc:title' 'dc=http://purl.org/dc/elements/1.1/'
show nodequery books.xml 'count(//book)'

section nodeupdate "set the content of the selected nodes and print the document"
show nodeupdate books.xml '//year' 'unknown'

section readdump "one line per node from the streaming reader"
show readdump books.xml

section readvalid "the same, validating against the DTD with entities substituted"
show readvalid catalog.xml
show readvalid invalid.xml

section readmany "one reader over several files, one outcome line each"
show readmany books.xml broken.xml test3.xml

section readextract "keep only the nodes matching a pattern while streaming"
show readextract

section pushparse "parse in 4-byte chunks and report documents that are not well formed"
show pushparse books.xml
show pushparse broken.xml

section parsevalid "parse with DTD validation"
show parsevalid catalog.xml
show parsevalid invalid.xml

section listelements "list every element name, depth first"
show listelements books.xml

section parsefile "parse a file whole"
show parsefile books.xml
show parsefile broken.xml

section memparse "parse a fixed document held in memory"
show memparse

section docbuild "build a document node by node and save it"
show docbuild

section memdump "serialise a small document to memory and print it"
show memdump

section sqlinclude "merge a result served by custom input callbacks through XInclude"
show sqlinclude
