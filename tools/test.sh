#!/usr/bin/env bash
# Installs what is needed, builds the 64-bit and the 32-bit program with
# their tests and runs them under Wine, in a private prefix on a private
# display; then the store's tests with undefined-behaviour traps and the
# static checks. On a machine that runs no 32-bit programs the 32-bit build
# is compiled (with its compile-time checks) but not run.
set -uo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"
start=$(date +%s)

# elapsed: seconds since the start, for the log.
elapsed() { echo "$(( $(date +%s) - start )) s"; }

install_packages || exit 1
run_arches=(x86_64)
if choose_wine; then
    run_arches+=(i686)
else
    log "the i686 build is compiled but its tests will NOT run ($NO_WINE32)"
fi
declare -A result
if bash tools/check-wine-decision.sh; then
    result[decision]=passed
else
    result[decision]=FAILED
fi
log "installed ($(elapsed))"

# Both builds always: the 32-bit one checks its record sizes at compile time.
for arch in x86_64 i686; do
    build_in "build/$arch" "$arch" all -DSLOTKEEPER_BENCH=OFF || { log "the $arch build failed"; exit 1; }
done
# The store's tests once more, built to trap on undefined behaviour, for the
# players' 32-bit program where it can run.
ubsan_arch=${run_arches[-1]}
ubsan_tests=(store_test slots_test)
ubsan_regex="^($(IFS='|'; echo "${ubsan_tests[*]}"))\$"
build_in "build/ubsan-$ubsan_arch" "$ubsan_arch" "${ubsan_tests[*]}" \
    -DSLOTKEEPER_UBSAN=ON -DSLOTKEEPER_BENCH=OFF ||
    { log "the $ubsan_arch build with undefined-behaviour traps failed"; exit 1; }
log "built ($(elapsed))"

trap stop_wine_session EXIT
start_wine_session "$SLOTKEEPER_ROOT/build/wineprefix" || exit 1
start_desktop_keeper

status=0
[ "${result[decision]}" = passed ] || status=1
for arch in "${run_arches[@]}"; do
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

log "summary ($(elapsed)):"
log "  builds: x86_64, i686 (with its compile-time checks), $ubsan_arch with traps: passed"
log "  x86_64: ${result[x86_64]:-NOT RUN}"
log "  i686: ${result[i686]:-NOT RUN ($NO_WINE32)}"
log "  store tests with undefined-behaviour traps ($ubsan_arch): ${result[ubsan]:-NOT RUN}"
log "  static checks: ${result[lint]:-NOT RUN}"
log "  the choice of Wine, both ways: ${result[decision]}"
exit $status
