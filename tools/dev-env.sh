# For working by hand: `source tools/dev-env.sh NAME NUMBER` gives this shell
# a Wine prefix /tmp/wp-NAME with a persistent wineserver and an Xvfb display
# :NUMBER, starting them the first time and reusing them afterwards. Then run
# `ctest` in a build folder, or `wine build/x86_64/bin/some_test.exe`.
# Where this machine runs no 32-bit programs, 'wine' is then the 64-bit one
# (see choose_wine in setup.sh).
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
choose_wine --no-install || true
export WINEPREFIX=/tmp/wp-$1
export DISPLAY=:$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Five and a half hours off UTC all year, so that a time shown in UTC where
# local time is meant shows in the tests.
export TZ=Asia/Kolkata
# A display whose server is gone (its lock names no live process, say after
# a restart) is started afresh, its leftover lock and socket removed first.
if ! kill -0 "$(tr -d ' ' < "/tmp/.X$2-lock" 2>/dev/null)" 2>/dev/null; then
    rm -f "/tmp/.X$2-lock" "/tmp/.X11-unix/X$2"
    (Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
    sleep 1
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineserver -p >/dev/null 2>&1
    wine wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
else
    wineserver -p >/dev/null 2>&1 || true
fi
