#!/usr/bin/env bash
# Takes the pictures of the help and the about window for the documentation:
# builds tools/show_dialog.cpp, which opens each window alone, shows it in a
# Wine desktop on a private Xvfb display and saves docs/help.png and
# docs/about.png, cropped to the window with its frame and caption.
#
#   tools/screenshot-dialogs.sh
#   ABOUT_DELAY=20 tools/screenshot-dialogs.sh   later in the credits
#
# The about picture is taken ABOUT_DELAY seconds (default 12) after the window
# opened: the credits start low in the panel and need about ten seconds to
# come up.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"

about_delay=${ABOUT_DELAY:-12}
help_delay=2
desktop=slotkeeper-shots
desktop_size=640x480

install_packages
install_screenshot_tools

build=build/shots-x86_64
log "building show_dialog.exe in $build"
build_in "$build" x86_64 show_dialog -DSLOTKEEPER_TESTS=OFF -DSLOTKEEPER_BENCH=OFF
helper="$SLOTKEEPER_ROOT/$build/bin/show_dialog.exe"

trap stop_wine_session EXIT
start_wine_session "$SLOTKEEPER_ROOT/build/wineprefix-shots" || exit 1
add_caption_font
mkdir -p docs

# shoot NAME DELAY: opens the window NAME in a Wine desktop (which draws the
# frame and caption itself, with no window manager on the display), waits
# DELAY seconds after it is up and saves docs/NAME.png.
shoot() {
    local name=$1 delay=$2
    local rect_file="$WINEPREFIX/drive_c/shot-rect.txt"
    rm -f "$rect_file"
    wine explorer "/desktop=$desktop,$desktop_size" "$helper" "$name" 'C:\shot-rect.txt' \
        $((delay + 3)) >/dev/null 2>&1 &
    local wine_pid=$!

    # The first window of a fresh prefix can take a while: the desktop
    # starts first.
    for _ in $(seq 600); do [ -s "$rect_file" ] && break; sleep 0.1; done
    if [ ! -s "$rect_file" ]; then
        log "the $name window did not open"
        return 1
    fi
    sleep "$delay"

    local left top width height
    read -r left top width height < "$rect_file"
    # The window's place is given in desktop pixels; add where the desktop
    # itself stands on the X display.
    local geometry desktop_x desktop_y
    geometry=$(xwininfo -name "$desktop - Wine desktop")
    desktop_x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$geometry")
    desktop_y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$geometry")
    local shot
    shot=$(mktemp --suffix=.png)
    import -window root "$shot"
    convert "$shot" -crop "${width}x${height}+$((desktop_x + left))+$((desktop_y + top))" \
        +repage "docs/$name.png"
    rm -f "$shot"
    log "docs/$name.png: ${width} x ${height} pixels"

    # The helper closes its window by itself; the desktop ends with it.
    wait "$wine_pid" || true
}

shoot help "$help_delay"
shoot about "$about_delay"
