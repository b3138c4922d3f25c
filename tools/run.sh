#!/usr/bin/env bash
# Runs Slotkeeper on this machine's display with a demo save directory:
# installs what is needed, builds the 32-bit program (the one players get),
# prepares a demo Wine prefix with a few made-up characters, points the
# game's registry key at them and starts the program. Safe to run again:
# the prefix, the characters and any backups made in them are kept.
#
#   tools/run.sh                   uses ~/.slotkeeper-demo
#   SLOTKEEPER_DEMO_PREFIX=/path tools/run.sh
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"

if [ -z "${DISPLAY:-}" ]; then
    log "Slotkeeper is a windowed program and needs an X display, but DISPLAY is not set."
    log "Run this from a desktop session, or start one first (e.g. 'Xvfb :5 &' and 'export DISPLAY=:5')."
    exit 2
fi

prefix=${SLOTKEEPER_DEMO_PREFIX:-$HOME/.slotkeeper-demo}
save_dir_windows='C:\Games\Slotkeeper Demo\save'
save_dir="$prefix/drive_c/Games/Slotkeeper Demo/save"
characters=(Aeris Brom Cassia Dunmar)

install_packages
arch=i686
if ! choose_wine; then
    log "$NO_WINE32: running the 64-bit build instead of the players' 32-bit one."
    arch=x86_64
fi

build="build/run-$arch"
log "building slotkeeper.exe ($arch) in $build"
build_in "$build" "$arch" slotkeeper -DSLOTKEEPER_TESTS=OFF -DSLOTKEEPER_BENCH=OFF

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the demo Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine wineboot -i >/dev/null 2>&1 || { log "wineboot failed in $WINEPREFIX"; exit 1; }
fi

# The tool copies these files by name and never reads them, so a little
# random content stands in for real savegames.
mkdir -p "$save_dir"
for name in "${characters[@]}"; do
    for extension in d2s key ma0 map; do
        file="$save_dir/$name.$extension"
        [ -e "$file" ] || head -c $(( (RANDOM % 900) + 100 )) /dev/urandom > "$file"
    done
done
log "demo characters in $save_dir_windows: ${characters[*]}"

wine reg add 'HKCU\Software\Blizzard Entertainment\Diablo II' /v 'Save Path' /t REG_SZ \
    /d "$save_dir_windows" /f >/dev/null 2>&1 || { log "could not set the game's save path"; exit 1; }

log "starting slotkeeper.exe on display $DISPLAY"
status=0
wine "$build/bin/slotkeeper.exe" || status=$?
log "slotkeeper.exe ended with exit code $status"
exit $status
