#!/usr/bin/env bash
# Mutation check: does the test suite notice a one-line fault in the program?
#
#   tools/mutate.sh [--tree DIR] [--work DIR] [--timeout SECONDS] [--list FILE] [--check] [ID ...]
#
# Copies the tree (default: this repository's working tree, without build/
# and dist/) into WORK/src (default WORK: /tmp/slotkeeper-mutate), builds it
# for x86_64 in WORK/build/x86_64 and runs every test program once under Wine,
# in a private prefix and display started by the copy's own tools/setup.sh
# (so with the time zone and prefix settings that tree's tests expect); a
# suite that fails there stops the check.
# Then, for each mutant of tools/mutants.txt (or only the IDs given): puts the
# one-line fault into the copy, rebuilds incrementally and runs the test
# programs until one fails, the mutant's hint programs first, then the others
# quickest first. The file is copied back after each mutant.
#
# A failing program is run once more, after the prefix is reset: only a
# second failure kills the mutant, so a test upset by the machine's load
# kills nothing. A program may run for the timeout (default 60 s) or three
# times as long as it did without mutant, whichever is longer; a mutant
# that makes a test run longer is killed by timeout.
#
# Per mutant it prints "killed by PROGRAM", "SURVIVED", "NOT APPLIED" (its
# text is no longer found exactly once: update the list) or "DOES NOT
# COMPILE"; only the first two count towards the kill rate. The last lines
# sum up; WORK/results.txt holds one line "ID RESULT [PROGRAM]" per mutant
# and WORK/logs/ID.log the output of the build or the program that failed.
#
# --check only tells whether every mutant still applies to the tree; it
# builds and runs nothing.
#
# Exit code: 0 when every mutant was killed, 1 when any survived, did not
# apply or did not compile, 2 when the check could not run (bad arguments,
# no tool chain, a failing build or suite without mutants).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"   # log, start_wine_session, ...

tree=$SLOTKEEPER_ROOT
work=/tmp/slotkeeper-mutate
timeout=60
list=$SLOTKEEPER_ROOT/tools/mutants.txt
check_only=0
wanted=()
while [ $# -gt 0 ]; do
    case $1 in
        --tree) tree=$(cd "$2" && pwd) || exit 2; shift 2 ;;
        --work) work=$2; shift 2 ;;
        --timeout) timeout=$2; shift 2 ;;
        --list) list=$2; shift 2 ;;
        --check) check_only=1; shift ;;
        -h|--help) sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
        -*) log "unknown option $1 (see --help)"; exit 2 ;;
        *) wanted+=("$1"); shift ;;
    esac
done
src=$work/src
build=$work/build/x86_64
logs=$work/logs
results=$work/results.txt

# ---- The list -------------------------------------------------------------
# One mutant a line: ID @@ FILE @@ ORIGINAL @@ REPLACEMENT @@ FAULT [@@ HINTS]
ids=() files=() originals=() replacements=() faults=() hints=()

read_list() {
    local line number=0 fields rest
    while IFS= read -r line || [ -n "$line" ]; do
        number=$((number + 1))
        line=${line%$'\r'}
        [[ $line =~ ^[[:space:]]*(#|$) ]] && continue
        fields=() rest=$line
        while [[ $rest == *" @@ "* ]]; do
            fields+=("${rest%%" @@ "*}")
            rest=${rest#*" @@ "}
        done
        fields+=("$rest")
        if [ ${#fields[@]} -lt 5 ] || [ ${#fields[@]} -gt 6 ]; then
            log "$list:$number: ${#fields[@]} fields instead of 5 or 6"
            exit 2
        fi
        ids+=("${fields[0]}") files+=("${fields[1]}") originals+=("${fields[2]}")
        replacements+=("${fields[3]}") faults+=("${fields[4]}") hints+=("${fields[5]:-}")
    done <"$list"
}

# The indexes of the mutants to run: those named, or all.
select_mutants() {
    local id i found
    selected=()
    [ ${#wanted[@]} -eq 0 ] && { selected=("${!ids[@]}"); return; }
    for id in "${wanted[@]}"; do
        found=
        for i in "${!ids[@]}"; do [ "${ids[$i]}" = "$id" ] && found=$i; done
        [ -n "$found" ] || { log "no mutant $id in $list"; exit 2; }
        selected+=("$found")
    done
}

# ---- Applying a mutant ------------------------------------------------------
# Whole files go through shell strings: quoted patterns match literally, and
# the trailing "x" keeps the file's last line break.
file_text() { cat "$1"; printf x; }

occurrences() {   # TEXT PATTERN
    local text=$1 count=0
    while [[ $text == *"$2"* ]]; do
        text=${text#*"$2"}
        count=$((count + 1))
    done
    echo "$count"
}

# Why mutant $1 cannot be applied to the tree under $2, or nothing.
why_not_applicable() {
    local path=$2/${files[$1]} text count
    [ -f "$path" ] || { echo "no file ${files[$1]}"; return; }
    text=$(file_text "$path")
    count=$(occurrences "$text" "${originals[$1]}")
    [ "$count" = 1 ] || echo "its text is found $count times in ${files[$1]}, not once"
}

apply_mutant() {
    local path=$src/${files[$1]} text
    cp "$path" "$work/original"
    text=$(file_text "$path")
    text=${text/"${originals[$1]}"/"${replacements[$1]}"}
    printf '%s' "${text%x}" >"$path"
    mutated=$1
}

# A plain copy gives the file a new time, so the next build compiles it again.
restore_mutant() {
    [ -n "${mutated:-}" ] || return 0
    cp "$work/original" "$src/${files[$mutated]}"
    mutated=
}

# ---- The copy, the build and the Wine session -------------------------------
# Only files whose bytes differ are copied (with a new time), so a build of an
# earlier run stays valid, and a file left mutated by an interrupted run is
# replaced.
sync_copy() {
    local file
    mkdir -p "$src"
    while IFS= read -r file; do
        cmp -s "$tree/$file" "$src/$file" && continue
        mkdir -p "$(dirname "$src/$file")"
        cp "$tree/$file" "$src/$file"
    done < <(cd "$tree" && find . \( -path ./build -o -path ./dist -o -name .git \) -prune -o -type f -print)
    while IFS= read -r file; do
        [ -e "$tree/$file" ] || rm -f "$src/$file"
    done < <(cd "$src" && find . -type f -print)
}

configure_build() {
    local generator=()
    [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null && generator=(-G Ninja)
    cmake -S "$src" -B "$build" "${generator[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$src/cmake/x86_64-w64-mingw32.cmake" -DSLOTKEEPER_BENCH=OFF
}

build_targets() {   # LOG TARGET...
    local out=$1; shift
    cmake --build "$build" -j "$(nproc)" --target "$@" >>"$out" 2>&1
}

# The desktop keeper of this build, through the shared function. A keeper
# still starting when its server is stopped can wait for ever: ended at exit.
start_keeper() {
    SLOTKEEPER_ROOT=$work start_desktop_keeper
    keeper_pid=$!
}

# Every mutant starts from the registry and temp folder the suite first saw,
# with no process of an earlier run left (a timed-out test leaves some).
save_prefix_state() {
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    mkdir -p "$work/registry"
    cp "$WINEPREFIX"/*.reg "$work/registry/"
    wineserver -p >/dev/null 2>&1
    start_keeper
}

reset_prefix_state() {
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    cp "$work/registry/"*.reg "$WINEPREFIX/"
    rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/*
    wineserver -p >/dev/null 2>&1
    start_keeper
}

# ---- Running the tests --------------------------------------------------------
declare -A took limit   # per program: milliseconds without mutant, seconds allowed

# Runs test program $1 with its output in $2; sets outcome to passed, failed
# or timeout, and elapsed to the milliseconds it took.
run_program() {
    local started status
    started=$(date +%s%N)
    (cd "$build/tests" && timeout -k 5 "${limit[$1]}" wine "$build/bin/$1.exe") >"$2" 2>&1
    status=$?
    elapsed=$(( ($(date +%s%N) - started) / 1000000 ))
    case $status in
        0) outcome=passed ;;
        124|137) outcome=timeout ;;
        *) outcome=failed ;;
    esac
}

# Like run_program, but a failure counts only when the program fails again
# after a reset; `flaky` then names a program that failed only once. A
# timeout is not tried again: the time allowed is ample, and a hang costs.
run_confirmed() {
    run_program "$1" "$2"
    [ $outcome = failed ] || return
    local first=$outcome
    mv "$2" "$2.first"
    reset_prefix_state
    run_program "$1" "$2"
    if [ $outcome = passed ]; then
        flaky+=" $1"
        mv "$2.first" "$2.flaky"
    else
        outcome=$first
        mv "$2.first" "$2"
    fi
}

seconds() { awk -v ms="$1" 'BEGIN { printf "%.1f", ms / 1000 }'; }

# The order for mutant $1: its hint programs, then the rest quickest first.
program_order() {
    local hint name
    order=()
    for hint in ${hints[$1]//,/ }; do
        [[ " ${programs[*]} " == *" $hint "* ]] && order+=("$hint")
    done
    for name in "${by_time[@]}"; do
        [[ " ${order[*]} " == *" $name "* ]] || order+=("$name")
    done
}

# Runs mutant $1; sets verdict to killed, survived, not-applied or
# no-compile, with killer and note.
try_mutant() {
    local reason name
    killer= note= flaky=
    reason=$(why_not_applicable "$1" "$src")
    if [ -n "$reason" ]; then
        verdict=not-applied note=$reason
        return
    fi
    apply_mutant "$1"
    verdict=survived
    if ! build_targets "$logs/${ids[$1]}.log" slotkeeper; then
        verdict=no-compile
    else
        program_order "$1"
        for name in "${order[@]}"; do
            if ! build_targets "$logs/${ids[$1]}.log" "$name"; then
                verdict=no-compile killer=$name
                break
            fi
            run_confirmed "$name" "$logs/${ids[$1]}.log"
            [ $outcome = passed ] && continue
            verdict=killed killer=$name
            [ $outcome = timeout ] && note="timeout"
            break
        done
    fi
    restore_mutant
    [ -n "$flaky" ] && note="${note:+$note; }failed once only:$flaky"
    [ $verdict = survived ] && rm -f "$logs/${ids[$1]}.log"
    reset_prefix_state
}

finish() {
    restore_mutant
    [ -n "${WINEPREFIX:-}" ] && stop_wine_session
    [ -n "${keeper_pid:-}" ] && kill "$keeper_pid" 2>/dev/null
    return 0
}

# ---- Main -------------------------------------------------------------------
[ -f "$list" ] || { log "no mutant list $list"; exit 2; }
read_list
select_mutants

if [ $check_only = 1 ]; then
    broken=0
    for i in "${selected[@]}"; do
        reason=$(why_not_applicable "$i" "$tree")
        [ -z "$reason" ] && continue
        printf '%-26s NOT APPLIED: %s\n' "${ids[$i]}" "$reason"
        broken=$((broken + 1))
    done
    log "${#selected[@]} mutants, $broken do not apply to $tree"
    [ $broken = 0 ]; exit $?
fi

for tool in x86_64-w64-mingw32-g++-posix wine wineserver Xvfb cmake timeout flock; do
    command -v "$tool" >/dev/null || { log "$tool is missing (tools/test.sh installs it)"; exit 2; }
done
mkdir -p "$work"
exec 9>"$work/lock"
flock -n 9 || { log "another mutation check is using $work (choose another with --work)"; exit 2; }

began=$(date +%s)
rm -rf "$logs"; mkdir -p "$logs"
: >"$results"
trap finish EXIT
trap 'exit 2' INT TERM

log "copying $tree to $src"
sync_copy
# The Wine session as the tree's own tests expect it.
[ -f "$src/tools/setup.sh" ] && source "$src/tools/setup.sh"
log "building in $build"
configure_build >"$work/configure.log" 2>&1 || { log "configuring failed: $work/configure.log"; exit 2; }
: >"$work/build.log"
build_targets "$work/build.log" all || { log "the build failed: $work/build.log"; exit 2; }
programs=($(ctest --test-dir "$build" -N | awk '$1 == "Test" && $2 ~ /^#/ { print $3 }'))
[ ${#programs[@]} -gt 0 ] || { log "no test programs in $build"; exit 2; }

start_wine_session "$work/wineprefix" || exit 2
save_prefix_state

log "the suite without mutants (${#programs[@]} programs)"
for name in "${programs[@]}"; do
    limit[$name]=$((3 * timeout))
    flaky=
    run_confirmed "$name" "$logs/baseline-$name.log"
    took[$name]=$elapsed
    printf '  %-28s %-7s %6s s%s\n' "$name" "$outcome" "$(seconds "$elapsed")" \
        "${flaky:+ (failed once before)}" >&2
    if [ $outcome != passed ]; then
        tail -n 30 "$logs/baseline-$name.log" >&2
        log "$name: $outcome without any mutant; fix the suite first (log: $logs/baseline-$name.log)"
        exit 2
    fi
    limit[$name]=$(( elapsed * 3 / 1000 + 1 > timeout ? elapsed * 3 / 1000 + 1 : timeout ))
done
by_time=($(for name in "${programs[@]}"; do echo "${took[$name]} $name"; done | sort -n | awk '{ print $2 }'))

log "${#selected[@]} mutants"
killed=0 survived=() unapplied=() uncompiled=()
number=0
for i in "${selected[@]}"; do
    number=$((number + 1))
    id=${ids[$i]}
    mutant_began=$(date +%s)
    try_mutant "$i"
    label=$(printf '[%2d/%d] %-26s' "$number" "${#selected[@]}" "$id")
    spent="$(( $(date +%s) - mutant_began )) s"
    case $verdict in
        killed) echo "$label killed by $killer${note:+ ($note)}, $spent"
                killed=$((killed + 1)) ;;
        survived) echo "$label SURVIVED${note:+ ($note)}, $spent: ${faults[$i]}"
                survived+=("$id") ;;
        not-applied) echo "$label NOT APPLIED: $note"
                unapplied+=("$id") ;;
        no-compile) echo "$label DOES NOT COMPILE${killer:+ with $killer} (log: $logs/$id.log)"
                uncompiled+=("$id") ;;
    esac
    echo "$id $verdict $killer" >>"$results"
done

counted=$((killed + ${#survived[@]}))
rate=$(awk -v k=$killed -v c=$counted 'BEGIN { printf "%.1f", c ? 100 * k / c : 0 }')
total=$(( $(date +%s) - began ))
echo "== $tree: killed $killed of $counted mutants ($rate %) in $((total / 60)) min $((total % 60)) s"
names() { local name; for name; do printf ' %s' "$name"; done; }
echo "   survived:         ${#survived[@]}$(names "${survived[@]}")"
echo "   not applied:      ${#unapplied[@]}$(names "${unapplied[@]}")"
echo "   does not compile: ${#uncompiled[@]}$(names "${uncompiled[@]}")"
[ $counted -eq $killed ] && [ ${#unapplied[@]} -eq 0 ] && [ ${#uncompiled[@]} -eq 0 ]
