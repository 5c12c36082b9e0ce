# shellcheck shell=bash
# Sourced by the scripts that install what they need.
#
# require PACKAGE...: installs the Debian packages that are missing, after one
# apt-get update per process. Without root it prints the one install line to
# run and stops. Extra apt-get options (such as -t RELEASE) may come first.
require_updated=0
require() {
    local options=() missing=() package
    while [[ ${1:-} == -* ]]; do
        options+=("$1" "$2")
        shift 2
    done
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
    done
    ((${#missing[@]} == 0)) && return 0
    if ((EUID != 0)); then
        echo "missing packages; run as root:" >&2
        echo "apt-get install -y --no-install-recommends ${options[*]} ${missing[*]}" >&2
        exit 1
    fi
    if ((require_updated == 0)); then
        apt-get update -qq || exit 1
        require_updated=1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${options[@]}" "${missing[@]}" >/dev/null ||
        exit 1
}
