#!/usr/bin/env bash
# Builds the 32-bit program (the one players get) and runs every benchmark
# under Wine in a private prefix. Figures go to standard output.
set -uo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"

# Creating thousands of files through Wine slows down with every file already
# in the directory, so the large save paths for the scan are made here.
make_scan_save_path() {
    local dir=$1 count=$2 names
    mkdir -p "$dir"
    names=$(seq -f 'Hero%05g' 0 $((count - 1)))
    (cd "$dir" &&
        sed 's/$/.d2s/' <<<"$names" | xargs touch &&
        sed 's/$/.key/' <<<"$names" | xargs touch &&
        xargs mkdir <<<"$names" &&
        sed 's|$|/1|' <<<"$names" | xargs mkdir &&
        sed 's|$|/3|' <<<"$names" | xargs mkdir)
}

install_packages || exit 1
choose_wine || { log "the benchmarks measure the 32-bit program, which cannot run here ($NO_WINE32)"; exit 1; }
build_target i686 -DSLOTKEEPER_TESTS=ON -DSLOTKEEPER_BENCH=ON || exit 1
trap stop_wine_session EXIT
start_wine_session "$SLOTKEEPER_ROOT/build/bench-prefix" || exit 1
start_desktop_keeper
for count in 1000 10000; do
    make_scan_save_path "$WINEPREFIX/drive_c/scan$count" "$count" || exit 1
done
# A benchmark that finds its results wrong (scan_bench checks every listed
# character) fails the whole run.
status=0
for bench in build/i686/bin/*_bench.exe; do
    name=$(basename "$bench" .exe)
    log "$name"
    case $name in
        scan_bench) wine "$bench" 'C:\scan1000' 'C:\scan10000' ;;
        *) wine "$bench" ;;
    esac || { log "$name FAILED"; status=1; }
done
exit $status
