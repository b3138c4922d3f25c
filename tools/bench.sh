#!/usr/bin/env bash
# Builds the 32-bit program (the one players get) and runs every benchmark
# under Wine in a private prefix. Figures go to standard output.
set -uo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"
install_packages || exit 1
install_wine32 || { log "32-bit Wine is needed for the benchmarks"; exit 1; }
build_target i686 || exit 1
trap stop_wine_session EXIT
start_wine_session "$SLOTKEEPER_ROOT/build/bench-prefix" || exit 1
for bench in build/i686/bin/*_bench.exe; do
    log "$(basename "$bench" .exe)"
    wine "$bench"
done
