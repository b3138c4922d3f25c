#!/usr/bin/env bash
# Static checks of the program's sources: clang-tidy with the checks in
# .clang-tidy, over the compile commands of the 32-bit build, cppcheck, and
# clang-format's word on the house style (.clang-format) of the program, the
# benchmarks and the tools. Exits non-zero on any finding.
set -uo pipefail
source "$(dirname "$0")/setup.sh"
cd "$SLOTKEEPER_ROOT"

command -v clang-tidy >/dev/null && command -v cppcheck >/dev/null &&
    command -v clang-format >/dev/null || {
    log "installing clang-tidy cppcheck clang-format"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        clang-tidy cppcheck clang-format
} || exit 1

build=build/lint-i686
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/i686-w64-mingw32.cmake" \
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DSLOTKEEPER_TESTS=OFF >/dev/null || exit 1

# clang parses for the same target, with the cross compiler's C++ headers.
cxx=$(i686-w64-mingw32-g++-posix -print-file-name=include/c++)
sources=(app/*.cpp store/*.cpp ui/*/*.cpp)
status=0
log "clang-tidy"
clang-tidy --quiet -p "$build" --extra-arg=--target=i686-w64-mingw32 \
    --extra-arg=-isystem"$cxx" --extra-arg=-isystem"$cxx/i686-w64-mingw32" \
    --extra-arg=-isystem"$cxx/backward" "${sources[@]}" 2>/dev/null || status=1
log "cppcheck"
cppcheck --quiet --error-exitcode=1 --enable=warning,style,performance,portability \
    --inline-suppr --std=c++17 --platform=win32A -DWIN32 -D_WIN32 \
    -I . -I resources "${sources[@]}" || status=1
log "clang-format"
clang-format --dry-run --Werror app/*.cpp app/*.h store/*.cpp store/*.h ui/*/*.cpp ui/*/*.h \
    bench/*.cpp tools/*.cpp || status=1
[ $status -eq 0 ] && log "no findings"
exit $status
