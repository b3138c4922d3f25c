#!/usr/bin/env bash
# Builds the release program that players get: 32-bit, static, stripped,
# GUI subsystem, no manifest. Leaves dist/slotkeeper.exe and its SHA-256 sum.
#
# The program is built from the checked-out commit, twice: from two copies
# of its sources in different folders, one after the other, each in a clean
# build folder. The two must be identical byte for byte, or the script fails:
# then a player who rebuilds the commit gets the same SHA-256 as the
# published program.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"
install_packages

# export_sources DIR: the committed sources of HEAD in DIR (a copy of the
# folder, without builds, where there is no git repository).
export_sources() {
    rm -rf "$1"
    mkdir -p "$1"
    if git rev-parse --verify -q HEAD >/dev/null 2>&1; then
        git archive HEAD | tar -x -C "$1"
    else
        tar -c --exclude=./build --exclude=./dist --exclude=./.git . | tar -x -C "$1"
    fi
}

# release_build DIR: sources in DIR/src, a clean build in DIR/build, the
# program in DIR/slotkeeper.exe. The linker strips it (-s): a separate
# 'strip' would write the current time into the PE header again.
release_build() {
    local dir=$1
    export_sources "$dir/src"
    rm -rf "$dir/build"
    cmake -S "$dir/src" -B "$dir/build" \
        -DCMAKE_TOOLCHAIN_FILE="$dir/src/cmake/i686-w64-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DSLOTKEEPER_TESTS=OFF -DCMAKE_EXE_LINKER_FLAGS=-s >/dev/null
    cmake --build "$dir/build" -j "$(nproc)" --target slotkeeper
    cp "$dir/build/bin/slotkeeper.exe" "$dir/slotkeeper.exe"
}

# check_kind EXE: what players are promised: a 32-bit GUI program without
# symbols, an elevation manifest (resource type 24) or MinGW DLLs.
check_kind() {
    local header problems=()
    header=$(i686-w64-mingw32-objdump -p "$1")
    grep -q '^Magic[[:space:]]*010b' <<<"$header" || problems+=("not a 32-bit program")
    grep -q '^Subsystem[[:space:]]*00000002' <<<"$header" || problems+=("not a GUI program")
    grep -qi 'DLL Name: lib' <<<"$header" && problems+=("needs MinGW DLLs: not static")
    grep -q 'Entry: ID: 0x000018' <<<"$header" && problems+=("has a manifest")
    i686-w64-mingw32-objdump -t "$1" | grep -q '^no symbols$' || problems+=("not stripped")
    [ ${#problems[@]} -eq 0 ] && return 0
    local joined
    joined=$(printf '%s, ' "${problems[@]}")
    log "$1: ${joined%, }"
    return 1
}

if ! git diff --quiet HEAD -- 2>/dev/null; then
    log "the working tree has changes that are not committed: the release is built from HEAD without them"
fi
commit=$(git rev-parse --short HEAD 2>/dev/null || echo "no commit")
second=$(mktemp -d "${TMPDIR:-/tmp}/slotkeeper-second-build.XXXXXX")
trap 'rm -rf "$second"' EXIT

# The program is the same only with the same tool chain; say which it was.
log "tool chain: $(dpkg-query -W -f '${Package} ${Version}, ' gcc-mingw-w64-i686-posix \
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev 2>/dev/null)cmake $(cmake --version |
    head -n 1 | cut -d' ' -f3)"
log "first build of $commit in build/release-i686"
release_build "$SLOTKEEPER_ROOT/build/release-i686"
log "second build of $commit in $second"
release_build "$second"
check_kind build/release-i686/slotkeeper.exe

first_sum=$(sha256sum < build/release-i686/slotkeeper.exe | cut -d' ' -f1)
second_sum=$(sha256sum < "$second/slotkeeper.exe" | cut -d' ' -f1)
log "SHA-256 of the first build:  $first_sum"
log "SHA-256 of the second build: $second_sum"
if ! cmp -s build/release-i686/slotkeeper.exe "$second/slotkeeper.exe"; then
    log "THE TWO BUILDS DIFFER: the release is not reproducible. Differing bytes (offset, first, second, in octal):"
    cmp -l build/release-i686/slotkeeper.exe "$second/slotkeeper.exe" | head -n 20 >&2 || true
    exit 1
fi

mkdir -p dist
cp build/release-i686/slotkeeper.exe dist/slotkeeper.exe
(cd dist && sha256sum slotkeeper.exe > slotkeeper.exe.sha256)
log "dist/slotkeeper.exe ($(stat -c %s dist/slotkeeper.exe) bytes) of commit $commit: both builds identical"
cat dist/slotkeeper.exe.sha256
