#!/usr/bin/env bash
# Takes the pictures of the main window in its two looks for the
# documentation: builds the program, runs it in a throwaway Wine prefix on a
# private Xvfb display with a demo save directory, and saves
# docs/main-graphic.png (the skinned look) and docs/main-plain.png (the plain
# dialog), each cropped to the window.
#
#   tools/screenshot-main.sh
#   ARCH=i686 tools/screenshot-main.sh      the 32-bit build (needs wine32)
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"

arch=${ARCH:-x86_64}
view=64
[ "$arch" = i686 ] && view=32
desktop=slotkeeper-main
desktop_size=640x560
characters=(Aeris Brom Cassia Dunmar)

install_packages
[ "$arch" = i686 ] && { choose_wine || { log "the 32-bit program cannot run here ($NO_WINE32)"; exit 1; }; }
install_screenshot_tools

build=build/shots-main-$arch
log "building slotkeeper.exe ($arch) in $build"
build_in "$build" "$arch" slotkeeper -DSLOTKEEPER_TESTS=OFF -DSLOTKEEPER_BENCH=OFF
program="$SLOTKEEPER_ROOT/$build/bin/slotkeeper.exe"

trap stop_wine_session EXIT
start_wine_session "$SLOTKEEPER_ROOT/build/wineprefix-shots-main" || exit 1
add_caption_font
mkdir -p docs

# A few made-up characters; the tool lists them by their .d2s files.
save_dir="$WINEPREFIX/drive_c/Demo/save"
mkdir -p "$save_dir"
for name in "${characters[@]}"; do
    head -c 300 /dev/zero > "$save_dir/$name.d2s"
done

# settings MODE: the tool's own key with the demo save path and the look.
# "Graphic Mode Enabled" is a single byte of type REG_NONE, which 'reg add'
# cannot write, so the values go in through a registry file.
settings() {
    local reg="$WINEPREFIX/drive_c/settings.reg"
    printf '%s\r\n' 'REGEDIT4' '' \
        '[HKEY_LOCAL_MACHINE\Software\Slotkeeper]' \
        '"Diablo 2 Save Path"="C:\\Demo\\save"' \
        "\"Graphic Mode Enabled\"=hex(0):0$1" > "$reg"
    # Into the registry view of the build: a 32-bit program reads the
    # Wow6432Node copy of the machine's software key.
    wine reg import 'C:\settings.reg' "/reg:$view" >/dev/null 2>&1
}

# shoot NAME MODE: runs the program in a Wine desktop (which draws the frame
# and caption of the plain look itself, with no window manager on the
# display) and saves docs/NAME.png cropped to the main window.
shoot() {
    local name=$1 mode=$2
    settings "$mode"
    wine explorer "/desktop=$desktop,$desktop_size" "$program" >/dev/null 2>&1 &
    local wine_pid=$!

    local geometry=
    for _ in $(seq 600); do
        geometry=$(xwininfo -name Slotkeeper 2>/dev/null) && break
        sleep 0.1
    done
    if [ -z "$geometry" ]; then
        log "the main window did not open"
        return 1
    fi
    sleep 2   # let it paint

    local x y width height
    x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$geometry")
    y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$geometry")
    width=$(awk '/Width:/ {print $NF}' <<<"$geometry")
    height=$(awk '/Height:/ {print $NF}' <<<"$geometry")
    local shot
    shot=$(mktemp --suffix=.png)
    import -window root "$shot"
    convert "$shot" -crop "${width}x${height}+${x}+${y}" +repage "docs/$name.png"
    if [ "$mode" = 1 ]; then
        # Outside the cross the desktop shows through; make it transparent.
        convert "docs/$name.png" \( -size "${width}x${height}" xc:black -fill white \
            -draw 'rectangle 0,79 488,321' -draw 'rectangle 87,0 401,482' \) \
            -alpha off -compose CopyOpacity -composite "docs/$name.png"
    fi
    rm -f "$shot"
    log "docs/$name.png: ${width} x ${height} pixels"

    # The program and its desktop end with the prefix's server, which then
    # starts afresh for the next picture.
    wineserver -k 2>/dev/null || true
    wait "$wine_pid" || true
    wineserver -p
}

shoot main-graphic 1
shoot main-plain 0
