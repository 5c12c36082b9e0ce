#!/usr/bin/env bash
# The Debian package's files that restate the project's own: the copyright
# file carries LICENSE, and the changelog's latest entry the project's version.
root=$(cd "$(dirname "$0")/.." && pwd)
source "$(dirname "$0")/lib.sh"

begin "debian/copyright carries LICENSE"
# In the copyright file the licence text is indented by one space and a blank
# line is written " .".
license=$(tail -n +5 "$root/LICENSE")
copyright=$(sed -n '/^License: Expat$/,$ { /^License:/d; s/^ //; s/^\.$//; p }' "$root/debian/copyright")
[[ $copyright == "$license" ]] || fail "licence text" "$license" "$copyright"
holder=$(sed -n 's/^Copyright (c) //p' "$root/LICENSE")
grep -qxF "Copyright: $holder" "$root/debian/copyright" ||
    fail "copyright line" "Copyright: $holder" "$(grep '^Copyright:' "$root/debian/copyright")"

begin "debian/changelog's latest entry is the project's version"
version=$(sed -n '1s/^xmltools (\([^)]*\)).*/\1/p' "$root/debian/changelog")
[[ $version == "${PROJECT_VERSION:?}" ]] || fail "version" "$PROJECT_VERSION" "$version"

finish
