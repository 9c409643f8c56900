#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset) in <build dir>, gathers a seed corpus per target in a
# scratch folder (the seeds committed in fuzz/seeds, the fixtures, the sample machines and what
# the build makes: language modules, resource modules, the shipped databases) and runs every
# target for <seconds> with AddressSanitizer, UndefinedBehaviorSanitizer and leak detection.
# Crashing inputs and each target's log land in <artefacts dir>.
#
#   fuzz/run-fuzz.sh <build dir> <seconds per target> <artefacts dir> [target...]
#
# FUZZ_JOBS (else TAMUX_JOBS, else 2) targets run side by side, and the build uses as many jobs.
# Ends with the line
#   fuzz: N targets, T s each, M failed
# and a non-zero status when any target crashed, leaked, hit a sanitizer or failed to start.
set -uo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 <build dir> <seconds per target> <artefacts dir> [target...]" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
seconds=$2
artefacts=$(mkdir -p "$3" && cd "$3" && pwd)
shift 3
jobs=${FUZZ_JOBS:-${TAMUX_JOBS:-2}}
fixtures=$root/../shared/fixtures

all_targets=(reg_file machine_json pe_resources version_block sim_profile decrypt_string
             database_lookup markup report_text)
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for t in "${all_targets[@]}"; do
        [ -f "$root/fuzz/fuzz_$t.cpp" ] && targets+=("$t")
    done
fi

echo "--- building the fuzz targets in $build"
if ! { (cd "$root" && cmake --preset fuzz -B "$build") >"$artefacts/configure.log" 2>&1 &&
       cmake --build "$build" --target tamux_fuzz -- -j"$jobs" >"$artefacts/build.log" 2>&1; }; then
    tail -n 30 "$artefacts/configure.log" "$artefacts/build.log" 2>/dev/null
    echo "fuzz: ${#targets[@]} targets, $seconds s each, build failed"
    exit 1
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tamux-fuzz-corpus.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# copy_into <folder> <files...>: copies the files that exist, each under a name of its own.
copy_into() {
    local folder=$1 file n=0
    shift
    mkdir -p "$folder"
    for file in "$@"; do
        [ -f "$file" ] || continue
        n=$((n + 1))
        cp "$file" "$folder/$(printf '%03d' "$n")-$(basename "$file")"
    done
}

databases=$build/suite/SHARED/DATABASES
modules=()
while IFS= read -r -d '' dll; do modules+=("$dll"); done < <(
    find "$build/suite/Tamux" "$build/fuzz/seed-modules" "$build/tests/unit/pe_resources/modules" \
        -maxdepth 1 -name '*.dll' -print0 2>/dev/null)

# Hardware ids as the sample machines hold them, for the lookup seeds made of shipped databases.
devices='Keyboard:ACPI\PNP0303
Unknown:HID\VID_046D&PID_C31C&REV_6400&MI_00
Mouse:USB\VID_046D&PID_C00E&REV_1100
Keyboard:PCI\VEN_8086&DEV_24C2&SUBSYS_00000000&REV_02
Unknown:*PNP0F13'

corpus_for() {
    local target=$1 dir=$scratch/$1
    mkdir -p "$dir"
    copy_into "$dir" "$root/fuzz/seeds/$target"/*
    case $target in
        reg_file)
            copy_into "$dir" "$root"/samples/machines/*/registry/*.reg "$fixtures"/*/*.reg ;;
        machine_json)
            copy_into "$dir" "$root"/samples/machines/*/machine.json ;;
        pe_resources | version_block)
            copy_into "$dir" "${modules[@]}" ;;
        decrypt_string)
            local file i=0 line
            for file in "$databases"/*.txt; do
                [ -f "$file" ] || continue
                while IFS= read -r line; do
                    i=$((i + 1))
                    printf '%s' "${line%$'\r'}" >"$dir/db-$i.txt"
                done < <(head -n 20 "$file")
            done ;;
        database_lookup)
            local class opts
            for class in Keyboard Mouse; do
                [ -f "$databases/$class.txt" ] || continue
                [ "$class" = Mouse ] && opts=rm || opts=r
                { printf '%s\n%s\n==\n' "$opts" "$devices"
                  head -n 60 "$databases/$class.txt"; printf '==\n'
                  head -n 60 "$databases/other.txt"; } >"$dir/shipped-$class.txt"
            done ;;
        report_text)
            copy_into "$dir" "$root"/fuzz/seeds/markup/* ;;
    esac
}

# other_reports <log>: whether the log holds a crash, leak or sanitizer report other than a
# timeout.
other_reports() {
    grep -vE 'ERROR: libFuzzer: timeout' "$1" |
        grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|property violated'
}

# run_target <name>: one fuzzing run; its verdict goes to <artefacts>/<name>.verdict.
run_target() {
    local name=$1 log=$artefacts/fuzz_$1.log rc=0 dict=() note=""
    local exe=$build/fuzz/fuzz_$name
    [ -f "$root/fuzz/dicts/$name.dict" ] && dict=(-dict="$root/fuzz/dicts/$name.dict")
    if [ ! -x "$exe" ]; then
        echo "fuzz_$name: not built" >"$artefacts/$name.verdict"
        return
    fi
    mkdir -p "$scratch/$name-found"
    local start=$SECONDS
    "$exe" "${dict[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$artefacts/fuzz_$name-" \
        "$scratch/$name-found" "$scratch/$name" >"$log" 2>&1 || rc=$?
    local took=$((SECONDS - start)) runs cov
    runs=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
    cov=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)

    # The timer is the wall clock, which a paused or resumed machine can move by seconds: a
    # timeout counts only when its input is slow again on its own.
    local timeout
    timeout=$(ls "$artefacts/fuzz_$name-timeout-"* 2>/dev/null | head -n 1)
    if [ -n "$timeout" ] && [ "$rc" -ne 0 ] && ! other_reports "$log"; then
        if "$exe" -timeout=10 "$timeout" >"$log.replay" 2>&1; then
            rc=0
            note="; a timeout that did not recur on its own, kept as $(basename "$timeout")"
        fi
    fi
    if [ "$rc" -ne 0 ] || other_reports "$log"; then
        echo "fuzz_$name: FAILED (status $rc; ${runs:-?} runs in $took s; ${cov:-no coverage}) see $log" \
            >"$artefacts/$name.verdict"
    else
        echo "fuzz_$name: ok (${runs:-?} runs in $took s; ${cov:-no coverage}$note)" \
            >"$artefacts/$name.verdict"
    fi
}

export ASAN_OPTIONS=detect_leaks=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

for target in "${targets[@]}"; do corpus_for "$target"; done
echo "--- running ${#targets[@]} targets for $seconds s each, $jobs at a time"
running=0
for target in "${targets[@]}"; do
    rm -f "$artefacts/$target.verdict"
    run_target "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

failed=0
for target in "${targets[@]}"; do
    verdict=$(cat "$artefacts/$target.verdict" 2>/dev/null || echo "fuzz_$target: no verdict")
    echo "$verdict"
    case $verdict in *": ok "*) ;; *) failed=$((failed + 1)) ;; esac
done
echo "fuzz: ${#targets[@]} targets, $seconds s each, $failed failed"
[ "$failed" -eq 0 ]
