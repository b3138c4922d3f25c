#!/usr/bin/env bash
# Installs what is needed, builds the 64-bit and the 32-bit program and runs
# every test of both under Wine, in a private prefix on a private display.
set -uo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"
start=$(date +%s)

install_packages || exit 1
arches=(x86_64)
if install_wine32; then
    arches+=(i686)
else
    log "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!"
    log "!! 32-bit Wine could not be installed: the i686 suite will NOT run. !!"
    log "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!"
fi

for arch in x86_64 i686; do
    build_target "$arch" || { log "the $arch build failed"; exit 1; }
done
# The store's tests once more, built to trap on undefined behaviour.
ubsan_arch=${arches[-1]}
ubsan_tests=()
for name in characters save_slot load_slot delete_slot slot_info hostile_names hostile_files; do
    [ -f "tests/${name}_test.cpp" ] && ubsan_tests+=("${name}_test")
done
ubsan_regex="^($(IFS='|'; echo "${ubsan_tests[*]}"))\$"
build_in "build/ubsan-$ubsan_arch" "$ubsan_arch" slotkeeper -DSLOTKEEPER_UBSAN=ON -DSLOTKEEPER_BENCH=OFF &&
    cmake --build "build/ubsan-$ubsan_arch" -j "$(nproc)" --target "${ubsan_tests[@]}" ||
    { log "the $ubsan_arch build with undefined-behaviour traps failed"; exit 1; }

trap stop_wine_session EXIT
start_wine_session "$SLOTKEEPER_ROOT/build/wineprefix" || exit 1
start_desktop_keeper

status=0
declare -A result
for arch in "${arches[@]}"; do
    log "tests of the $arch build"
    if (cd "build/$arch" && ctest --output-on-failure); then
        result[$arch]=passed
    else
        result[$arch]=FAILED
        status=1
    fi
done
log "store tests of the $ubsan_arch build with undefined-behaviour traps"
if (cd "build/ubsan-$ubsan_arch" && ctest --output-on-failure -R "$ubsan_regex"); then
    result[ubsan]=passed
else
    result[ubsan]=FAILED
    status=1
fi
log "static checks"
if bash tools/lint.sh; then
    result[lint]=passed
else
    result[lint]=FAILED
    status=1
fi

log "summary ($(( $(date +%s) - start )) s):"
log "  x86_64: ${result[x86_64]:-NOT RUN}"
log "  i686:   ${result[i686]:-NOT RUN (no 32-bit Wine)}"
log "  store tests with undefined-behaviour traps ($ubsan_arch): ${result[ubsan]:-NOT RUN}"
log "  static checks: ${result[lint]:-NOT RUN}"
exit $status
