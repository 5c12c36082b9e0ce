#!/usr/bin/env bash
# examples: every command shown in the EXAMPLES section of a manual page is run
# with the built programs, and what it prints must be what the page shows.
#
# The examples are the .EX/.EE blocks of that section. In them a line
# "$ COMMAND" is a command; the lines after it, up to the next command or the
# end of the block, are what it prints on a terminal: standard output and
# standard error together, in the order they come (standard output is made
# line-buffered, as on a terminal). A page's commands run in order, by bash, in
# a fresh copy of samples/ (the documents the pages show and use), with $? set
# to the status of the command before, so "$ echo $?" shows it.
#
# The lines between the comments `.\" libxml2 begin` and `.\" libxml2 end` are
# libxml2's diagnostics: one or more lines of any wording must come there, as
# their wording belongs to the library's release; after `.\" libxml2 begin if
# any` there may also be none, for what some releases report and others do
# not. Every other line is the programs' (or the shell's) and must be printed
# exactly. A block whose first line is `.\" libxml2 before X.Y` or
# `.\" libxml2 from X.Y` shows what one range of releases prints and runs only
# there. Anything else in a block that the test cannot read (another request,
# an unknown escape) fails.
root=$(cd "$(dirname "$0")/.." && pwd)
source "$(dirname "$0")/lib.sh"

# The programs as the examples call them: by name (so that their usage lines
# show the name), through the test wrapper, with standard output line-buffered.
# Only the programs with a page: BIN may be a folder shared with others.
tools=$WORK/.tools
mkdir "$tools"
read -r -a test_wrapper <<<"${TEST_WRAPPER:-}"
for page in "$root"/docs/man/*.1; do
    program=$BIN/$(basename "$page" .1)
    printf '#!/bin/bash\nPATH=%q:$PATH exec stdbuf -oL%s %q "$@"\n' "$BIN" \
        "${test_wrapper[*]:+$(printf ' %q' "${test_wrapper[@]}")}" "${program##*/}" >"$tools/${program##*/}"
    chmod +x "$tools/${program##*/}"
done
# stdbuf preloads its library ahead of a sanitizer's runtime: the runtime's
# check of that order is turned off, as for the call log.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0

printed=$WORK/.printed    # what an example command printed, both streams
library=$'\x01'    # stands for a block of libxml2 diagnostics among expected lines
library_if_any=$'\x02'    # the same, where the block may be empty
release_condition='^\.\\" libxml2 (before|from) ([0-9]+)\.([0-9]+)$'

# unescape LINE: sets text to LINE as the formatted page shows it; fails on
# an escape it does not know.
unescape() {
    local rest=$1
    text=""
    while [[ $rest == *\\* ]]; do
        text+=${rest%%\\*}
        rest=${rest#*\\}
        case $rest in
        -*) text+=-; rest=${rest:1} ;;
        e* | \\*) text+=\\; rest=${rest:1} ;;
        \&*) rest=${rest:1} ;;
        "(aq"*) text+="'"; rest=${rest:3} ;;
        *) return 1 ;;
        esac
    done
    text+=$rest
}

# lines_match: the printed lines, actual[], are the expected[] ones, where
# each $library entry stands for one or more lines of any wording, each
# $library_if_any entry for any number of them.
lines_match() {
    local n=${#expected[@]} m=${#actual[@]} i j k
    local -A ok=(["$n,$m"]=1)
    for ((i = n - 1; i >= 0; i--)); do
        for ((j = m; j >= 0; j--)); do
            if [[ ${expected[i]} == "$library" || ${expected[i]} == "$library_if_any" ]]; then
                k=$j
                [[ ${expected[i]} == "$library" ]] && k=$((j + 1))
                for (( ; k <= m; k++)); do
                    [[ -n ${ok[$((i + 1)),$k]:-} ]] && ok[$i,$j]=1 && break
                done
            elif ((j < m)) && [[ ${actual[j]} == "${expected[i]}" && -n ${ok[$((i + 1)),$((j + 1))]:-} ]]; then
                ok[$i,$j]=1
            fi
        done
    done
    [[ -n ${ok[0,0]:-} ]]
}

# check_command: runs the pending command, if any, and compares its output
# with the lines shown under it.
check_command() {
    [[ -n $command_line ]] || return 0
    # In the C locale, which every system has: a shell started in a locale
    # that is not installed warns about it, and the warning would be printed.
    (cd "$folder" && PATH=$tools:$PATH LC_ALL=C.UTF-8 bash -c "(exit $last_status); $command_line") >"$printed" 2>&1 </dev/null
    last_status=$?
    mapfile -t actual <"$printed"
    local got
    slurp got "$printed"
    if [[ -n $got && $got != *$'\n' ]] || ! lines_match; then
        local marks=("${expected[@]//$library/(libxml2 diagnostics)}") shown
        marks=("${marks[@]//$library_if_any/(libxml2 diagnostics, if any)}")
        shown=$( ((${#marks[@]})) && printf '%s\n' "${marks[@]}"; printf x)
        fail "printed lines" "${shown%x}" "$got"
    fi
    command_line=""
    commands=$((commands + 1))
}

for page in "$root"/docs/man/*.1; do
    name=${page##*/}
    folder=$WORK/${name%.1}
    mkdir "$folder"
    cp -R "$root/samples/." "$folder"
    section=0 block=0 diagnostics=0 commands=0 last_status=0 number=0
    command_line="" expected=()
    begin "$name: examples can be read"
    while IFS= read -r line || [[ -n $line ]]; do
        number=$((number + 1))
        if [[ $line == .SH* ]]; then
            [[ $line == ".SH EXAMPLES" ]] && section=1 || section=0
        elif ((!section)); then
            continue
        elif ((!block)); then
            [[ $line == .EX ]] && block=1 block_lines=0
        elif [[ $line == .EE ]]; then
            check_command
            ((diagnostics)) && fail "line $number: no end of the libxml2 diagnostics"
            block=0 diagnostics=0
        elif ((block_lines++ == 0)) && [[ $line =~ $release_condition ]]; then
            # Skips the block unless the library is one of the releases named.
            condition=${BASH_REMATCH[1]}
            if library_before $((BASH_REMATCH[2] * 10000 + BASH_REMATCH[3] * 100)); then
                [[ $condition == before ]] || block=2
            else
                [[ $condition == from ]] || block=2
            fi
        elif ((block == 2)); then
            continue
        elif [[ $line == '.\" libxml2 begin' || $line == '.\" libxml2 begin if any' ]] && [[ -n $command_line && diagnostics -eq 0 ]]; then
            diagnostics=1
            [[ $line == *' if any' ]] && expected+=("$library_if_any") || expected+=("$library")
        elif [[ $line == '.\" libxml2 end' && diagnostics -eq 1 ]]; then
            diagnostics=0
        elif [[ $line == [.\']* ]]; then
            fail "line $number: a request inside an example: $line"
        elif ! unescape "$line"; then
            fail "line $number: an escape the test cannot read: $line"
        elif [[ $text == '$ '* ]]; then
            ((diagnostics)) && fail "line $number: no end of the libxml2 diagnostics"
            check_command
            begin "$name: ${text#\$ }"
            command_line=${text#\$ }
            expected=() diagnostics=0
        elif [[ -z $command_line ]]; then
            fail "line $number: output without a command: $line"
        elif ((!diagnostics)); then
            expected+=("$text")
        fi
    done <"$page"
    check_command
    if ((commands == 0)); then
        begin "$name: shows examples"
        fail "no example command in the EXAMPLES section"
    fi
done

finish
