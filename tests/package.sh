#!/usr/bin/env bash
# The Debian package's files that restate the project's own: the copyright
# file carries LICENSE, and the changelog's latest entry the project's version.
root=$(cd "$(dirname "$0")/.." && pwd)
source "$(dirname "$0")/lib.sh"

begin "debian/copyright carries LICENSE's holder and text"
# There the text is indented by one space and a blank line is written " .".
expected=$(sed -n 's/^Copyright (c) /Copyright: /p' "$root/LICENSE"; echo 'License: Expat'; tail -n +5 "$root/LICENSE" | sed 's/^$/./; s/^/ /')
actual=$(sed -n '/^Copyright:/,$p' "$root/debian/copyright")
[[ $actual == "$expected" ]] || fail "copyright and licence" "$expected" "$actual"

begin "debian/changelog's latest entry is the project's version"
version=$(sed -n '1s/^xmltools (\([^)]*\)).*/\1/p' "$root/debian/changelog")
[[ $version == "${PROJECT_VERSION:?}" ]] || fail "version" "$PROJECT_VERSION" "$version"

finish
