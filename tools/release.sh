#!/usr/bin/env bash
# Builds the release program that players get: 32-bit, static, stripped,
# GUI subsystem, no manifest. Leaves dist/slotkeeper.exe and its SHA-256 sum.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"
install_packages
dir=build/release-i686
build_in "$dir" i686 slotkeeper -DCMAKE_BUILD_TYPE=Release -DSLOTKEEPER_TESTS=OFF
mkdir -p dist
i686-w64-mingw32-strip -o dist/slotkeeper.exe "$dir/bin/slotkeeper.exe"
(cd dist && sha256sum slotkeeper.exe > slotkeeper.exe.sha256)
log "dist/slotkeeper.exe ($(stat -c %s dist/slotkeeper.exe) bytes)"
cat dist/slotkeeper.exe.sha256
