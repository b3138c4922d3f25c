#!/usr/bin/env bash
# Checks both ways of choose_wine (tools/setup.sh) on whatever machine this
# is, by giving it a 32-bit loader that runs and one that the kernel refuses
# (a script that exits 126, as the shell does on "Exec format error").
# Installs nothing and starts no Wine session; test.sh runs it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nexit 0\n' > "$fake/runs"
printf '#!/bin/sh\necho "cannot execute binary file: Exec format error" >&2\nexit 126\n' > "$fake/refused"
chmod +x "$fake/runs" "$fake/refused"

failures=0
fail() { printf 'check-wine-decision: %s\n' "$*" >&2; failures=$((failures + 1)); }

# decide LOADER: runs the decision in a fresh shell that has wine32 installed
# and prints what the scripts would then use. The shell starts without the
# 64-bit 'wine' that a decision made before (in test.sh) may have set up.
decide() {
    local path
    path=$(tr ':' '\n' <<<"$PATH" | grep -vxF "$root/build/wine64-only" | paste -sd:)
    env -u WINELOADER PATH="$path" SLOTKEEPER_WINE32_LOADER="$1" bash -c '
        source "$0/tools/setup.sh"
        have_wine32() { return 0; }
        if choose_wine; then echo "32-bit: yes"; else echo "32-bit: no ($NO_WINE32)"; fi
        echo "wine: $(command -v wine)"
        echo "loader: ${WINELOADER:-}"
        echo "version: $(wine --version 2>&1)"' "$root" 2>"$fake/log"
}

got=$(decide "$fake/runs")
grep -qx '32-bit: yes' <<<"$got" || fail "a loader that runs was taken for one that does not: $got"
grep -qx 'wine: /usr/bin/wine' <<<"$got" || fail "with 32-bit Wine, 'wine' is not Debian's launcher: $got"
grep -qx 'loader: ' <<<"$got" || fail "with 32-bit Wine, WINELOADER was set: $got"
[ -s "$fake/log" ] && fail "with 32-bit Wine, the decision said: $(cat "$fake/log")"

got=$(decide "$fake/refused")
grep -qx '32-bit: no (this machine runs no 32-bit programs)' <<<"$got" ||
    fail "a refused loader was taken for one that runs: $got"
grep -qx "wine: $root/build/wine64-only/wine" <<<"$got" || fail "'wine' is not the 64-bit one: $got"
grep -qx 'loader: /usr/lib/wine/wine64' <<<"$got" || fail "WINELOADER is not the 64-bit loader: $got"
grep -q '^version: wine-' <<<"$got" || fail "the 64-bit 'wine' does not start: $got"
grep -q "THIS MACHINE RUNS NO 32-BIT PROGRAMS: '$fake/refused --version' failed (exit code 126: .*Exec format error)" \
    "$fake/log" || fail "the loud line is missing or names no cause: $(cat "$fake/log")"
[ "$(grep -c . "$fake/log")" = 1 ] || fail "the decision said more than one line: $(cat "$fake/log")"
[ -x "$root/build/wine64-only/wine-stable" ] || fail "wineboot and winecfg would still start the 32-bit loader"

if [ $failures -eq 0 ]; then
    printf '== the choice of Wine: both ways checked\n' >&2
fi
[ $failures -eq 0 ]
