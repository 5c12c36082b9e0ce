# shellcheck shell=bash
# Sourced by the scripts that work in other Debian releases: the supported
# platforms and a tarball of a minimal system of each, made once by
# mmdebstrap and kept outside the clone.
#
# platform_release PLATFORM: prints the Debian release of a supported
# platform, or fails for an unknown one.
#   bookworm           Debian 12: libxml2 2.9.14, g++ 12
#   trixie             Debian 13: libxml2 2.9.14, g++ 14
#   trixie-backports   Debian 13 with libxml2 2.15 from trixie-backports
#   sid                Debian unstable: libxml2 2.15, g++ 16
#
# platform_image [--arch=ARCH] [--minbase] PLATFORM KIND [PACKAGE...]: prints
# the path of the tarball of a buildd system (build-essential) of PLATFORM
# with the packages named, kept as XMLTOOLS_PLATFORMS/PLATFORM-KIND.tar
# (default folder /var/cache/xmltools/platforms) and made anew when a day old
# or asked for other packages, so that it holds the release's current
# libxml2 and compiler (packaging/platform also upgrades them in its copy;
# sbuild, autopkgtest and piuparts upgrade theirs). --arch makes it a system of another architecture, named
# PLATFORM-KIND-ARCH.tar (one this machine cannot run natively needs qemu-user
# and binfmt_misc: packaging/package); --minbase makes a system of only the
# essential and required packages and apt, as a gzip tarball
# (PLATFORM-KIND.tar.gz). Needs root and mmdebstrap.

platform_release() {
    case $1 in
    bookworm | trixie | sid) echo "$1" ;;
    trixie-backports) echo trixie ;;
    *) return 1 ;;
    esac
}

platform_image() {
    local arch='' variant=buildd suffix=tar options=()
    while [[ ${1:-} == --* ]]; do
        case $1 in
        --arch=*) arch=${1#--arch=} ;;
        --minbase) variant=minbase suffix=tar.gz ;;
        *) return 1 ;;
        esac
        shift
    done
    local platform=$1 kind=$2 release mirror=http://deb.debian.org/debian
    shift 2
    [[ $arch == "$(dpkg --print-architecture)" ]] && arch=''
    [[ -n $arch ]] && kind+=-$arch options+=(--architectures="$arch")
    local cache=${XMLTOOLS_PLATFORMS:-/var/cache/xmltools/platforms}
    local image=$cache/$platform-$kind.$suffix
    release=$(platform_release "$platform") || return 1
    if [[ -n $(find "$image" -mmin -1440 2>/dev/null) && $(cat "$image.packages" 2>/dev/null) == "$*" ]]; then
        echo "$image"
        return 0
    fi
    mkdir -p "$cache" || return 1
    local sources=("deb $mirror $release main")
    if [[ $platform == trixie-backports ]]; then
        # Only the XML library comes from backports; the compiler and CMake
        # stay Debian 13's.
        sources+=("deb $mirror trixie-backports main")
        options+=(--setup-hook='mkdir -p "$1/etc/apt/preferences.d" && printf "%s\n" "Package: libxml2-dev libxml2-16" "Pin: release n=trixie-backports" "Pin-Priority: 990" >"$1/etc/apt/preferences.d/libxml2"')
    fi
    # Unstable's index as mirrored here may be older than its validity period.
    [[ $release == sid ]] && options+=(--aptopt='Acquire::Check-Valid-Until "false"')
    (($#)) && options+=(--include="$(IFS=,; echo "$*")")
    echo "making a minimal Debian $platform ($kind) in $image" >&2
    # mmdebstrap compresses the tarball as the file's name ends.
    local part=${image%."$suffix"}.part.$suffix
    if ! mmdebstrap --quiet --variant="$variant" --format=tar "${options[@]}" "$release" "$part" "${sources[@]}" \
        >"$cache/$platform-$kind.log" 2>&1; then
        echo "mmdebstrap failed: see $cache/$platform-$kind.log" >&2
        rm -f "$part"
        return 1
    fi
    mv "$part" "$image" && printf '%s' "$*" >"$image.packages" && echo "$image"
}
