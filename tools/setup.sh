# Shared by test.sh, run.sh and the screenshot scripts: installs what the
# build needs, builds a target, and starts a private Wine session.
# Source it; it defines functions only.

SLOTKEEPER_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

log() { printf '== %s\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

have_wine32() {
    dpkg -s wine32:i386 >/dev/null 2>&1
}

# The 64-bit tool chain, Wine and Xvfb. Skipped when everything is there,
# because a mirror being synced has made 'apt-get update' fail while the
# packages were fine.
install_packages() {
    local need=()
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64)
    command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
    command -v wine >/dev/null || need+=(wine)
    dpkg -s wine64 >/dev/null 2>&1 || need+=(wine64)
    command -v Xvfb >/dev/null || need+=(xvfb)
    command -v xauth >/dev/null || need+=(xauth)
    command -v cmake >/dev/null || need+=(cmake)
    [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
    if [ ${#need[@]} -gt 0 ]; then
        log "installing ${need[*]}"
        as_root apt-get update || log "apt-get update reported a problem; trying the install anyway"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}"
    fi
}

# 32-bit Wine for the i686 build. Returns non-zero when it cannot be had.
install_wine32() {
    have_wine32 && return 0
    log "installing 32-bit Wine (wine32:i386)"
    as_root dpkg --add-architecture i386
    as_root apt-get update || log "apt-get update reported a problem; trying the install anyway"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends wine32:i386 || return 1
    have_wine32
}

# choose_wine [--no-install]: decides, once per process, which Wine this
# machine can use, and every script asks it before starting Wine. Returns 0
# when 32-bit programs run under Wine here. Otherwise it returns 1, leaves
# the reason for a summary in NO_WINE32 and points every Wine command at the
# 64-bit loader.
#
# Installing wine32:i386 succeeds even where the kernel refuses 32-bit
# programs ("Exec format error"), and Debian's 'wine' launcher then always
# picks that 32-bit loader, so even 64-bit Wine would fail. Hence the loader
# is run once before anything relies on it. SLOTKEEPER_WINE32_LOADER names
# another loader to try: tools/check-wine-decision.sh gives it one that
# fails, to take the other branch on a machine that runs 32-bit programs.
# With --no-install a missing wine32 is not installed (for the scripts that
# run only the 64-bit program).
NO_WINE32=
WINE_DECIDED=
choose_wine() {
    if [ -z "$WINE_DECIDED" ]; then
        WINE_DECIDED=yes
        local loader=${SLOTKEEPER_WINE32_LOADER:-/usr/lib/wine/wine} output code=0 last
        if [ "${1:-}" = --no-install ] && ! have_wine32; then
            NO_WINE32="no 32-bit Wine"
        elif ! install_wine32; then
            NO_WINE32="no 32-bit Wine"
            log "!!!!! 32-bit Wine (wine32:i386) could not be installed: Wine runs 64-bit programs only !!!!!"
        else
            output=$("$loader" --version 2>&1) || code=$?
            if [ $code -ne 0 ]; then
                NO_WINE32="this machine runs no 32-bit programs"
                # The last line without the shell's "file: line n: " prefix.
                last=${output##*$'\n'}
                last=${last##*: }
                log "!!!!! THIS MACHINE RUNS NO 32-BIT PROGRAMS: '$loader --version' failed" \
                    "(exit code $code${last:+: $last}); Wine runs 64-bit programs only !!!!!"
            fi
        fi
        [ -n "$NO_WINE32" ] && use_wine64_only
    fi
    [ -z "$NO_WINE32" ]
}

# Puts a 'wine' first on PATH that starts the 64-bit loader directly, so that
# these scripts, wineboot and ctest (whose emulator is 'wine') all use it.
# 'wine-stable' is what Debian's wineboot and winecfg start. The wineserver
# launcher already prefers the 64-bit server.
use_wine64_only() {
    local dir="$SLOTKEEPER_ROOT/build/wine64-only" name tmp
    mkdir -p "$dir" || return 1
    for name in wine wine-stable; do
        tmp=$(mktemp "$dir/.$name.XXXXXX") || return 1
        printf '%s\n' '#!/bin/sh' \
            '# Written by tools/setup.sh: Wine runs 64-bit programs only here.' \
            'export WINELOADER=/usr/lib/wine/wine64' \
            'export WINEDEBUG=${WINEDEBUG:-fixme-all}' \
            'exec /usr/lib/wine/wine64 "$@"' > "$tmp"
        chmod 755 "$tmp" && mv -f "$tmp" "$dir/$name"
    done
    case ":$PATH:" in
        *":$dir:"*) ;;
        *) export PATH="$dir:$PATH" ;;
    esac
    export WINELOADER=/usr/lib/wine/wine64
}

# build_in DIR ARCH TARGETS [extra cmake args]: configures DIR (below the
# project) for ARCH and builds TARGETS, a list separated by spaces ("all"
# for everything).
build_in() {
    local dir="$SLOTKEEPER_ROOT/$1" arch=$2 targets; shift 2
    read -ra targets <<<"$1"; shift
    cmake -S "$SLOTKEEPER_ROOT" -B "$dir" \
        -DCMAKE_TOOLCHAIN_FILE="$SLOTKEEPER_ROOT/cmake/$arch-w64-mingw32.cmake" "$@" >/dev/null &&
        cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
}

# build_target ARCH [extra cmake args]: the program, tests and benchmarks in build/ARCH.
build_target() {
    local arch=$1; shift
    build_in "build/$arch" "$arch" all "$@"
}

# Starts Xvfb (unless USE_DISPLAY is set), a fresh Wine prefix in $1 and a
# persistent wineserver. stop_wine_session undoes it.
XVFB_PID=
start_wine_session() {
    export WINEPREFIX=$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer
    # Five and a half hours off UTC all year, so that a time shown in UTC where
    # local time is meant shows in the tests.
    export TZ=Asia/Kolkata
    if [ -z "${USE_DISPLAY:-}" ]; then
        local fdfile
        fdfile=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
        [ -s "$fdfile" ] || { log "Xvfb did not start"; return 1; }
        export DISPLAY=":$(head -n1 "$fdfile")"
        rm -f "$fdfile"
    fi
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    choose_wine --no-install || true
    # The persistent server first, so wineboot and every test share it.
    wineserver -p >/dev/null 2>&1
    wine wineboot -i >/dev/null 2>&1 || { log "wineboot failed"; return 1; }
    configure_prefix
}

# Without a window manager on Xvfb, Wine waits about two seconds for one at
# every window that closes; unmanaged windows close at once.
configure_prefix() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crashing program, 32-bit or 64-bit, ends at once instead of waiting
    # in the debugger.
    local view
    for view in 32 64; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' \
            /f "/reg:$view" >/dev/null 2>&1
    done
}

# Wine restarts its desktop after a few idle seconds, and each restart waits
# ten seconds for a service that never comes. A process holding a hidden
# window keeps the desktop up between test programs.
start_desktop_keeper() {
    local keeper="$SLOTKEEPER_ROOT/build/x86_64/bin/desktop_keeper.exe"
    [ -f "$keeper" ] || keeper="$SLOTKEEPER_ROOT/build/i686/bin/desktop_keeper.exe"
    [ -f "$keeper" ] || return 0
    wine "$keeper" >/dev/null 2>&1 &
}

stop_wine_session() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

# The caption buttons are drawn from the Marlett font, which comes with Wine's
# font package; without it they show letters. Only this private prefix gets
# a copy, so the machine's fonts and every other prefix stay as they are.
add_caption_font() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [ -f "$fonts/marlett.ttf" ] && return 0
    local tmp
    tmp=$(mktemp -d)
    if (cd "$tmp" && apt-get download fonts-wine >/dev/null 2>&1 &&
        dpkg-deb -x fonts-wine_*.deb unpacked); then
        mkdir -p "$fonts"
        find "$tmp/unpacked" -name marlett.ttf -exec cp {} "$fonts/" \;
    else
        log "Wine's fonts could not be fetched: the caption buttons will show letters"
    fi
    rm -rf "$tmp"
}

# imagemagick takes and crops the pictures; xwininfo finds the windows.
install_screenshot_tools() {
    if ! command -v import >/dev/null || ! command -v convert >/dev/null; then
        log "installing imagemagick"
        as_root apt-get update || log "apt-get update reported a problem; trying the install anyway"
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends imagemagick
    fi
    command -v xwininfo >/dev/null || as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends x11-utils
}
