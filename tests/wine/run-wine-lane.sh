#!/usr/bin/env bash
# The Wine conformance lane.
#   run-wine-lane.sh <work folder> <tamux_wine_tests.exe> [regimport.exe]
# Creates a fresh prefix in <work folder>/prefix (Windows XP) of the program's architecture: the
# Wine that runs it is the one scripts/wine-env.sh chooses (TAMUX_WINE_ARCH). Imports the registry
# fixtures and the lane's data with regedit and the HKEY_DYN_DATA data with regimport, runs the
# conformance program, then runs its version check once for each Windows version Wine can
# pretend to be. One wineserver serves the whole lane: HKEY_DYN_DATA lives only as long as it.
# Prints "wine lane: <arch>: N tests, M failed, S skipped, T s" last; exits non-zero on any
# failure.
set -uo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 <work folder> <tamux_wine_tests.exe> [regimport.exe]" >&2
    exit 2
fi

start=$(date +%s)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$1
exe=$(realpath -m "$2")
regimport=${3:-$(dirname "$exe")/../tools/regimport/regimport.exe}
regimport=$(realpath -m "$regimport")
fixtures=$(realpath -m "$root/../shared/fixtures")
data=$here/data
versions="win95 win98 winme nt40 win2k winxp vista win7"

# shellcheck source=../../scripts/wine-env.sh
. "$root/scripts/wine-env.sh"

summary() {
    echo "wine lane: ${TAMUX_WINE_ARCH:-no Wine}: $1 tests, $2 failed, ${skipped:-0} skipped, $(($(date +%s) - start)) s"
}

if ! wine_select_arch; then
    summary 0 1
    exit 1
fi

for file in "$exe" "$regimport"; do
    if [ ! -f "$file" ]; then
        echo "wine lane: $file is missing (build the $TAMUX_WINE_ARCH preset first)" >&2
        summary 0 1
        exit 1
    fi
done

# The Z: drive form of a Linux path.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}

mkdir -p "$work"
work=$(cd "$work" && pwd)
results=$work/results
rm -rf "$work/prefix" "$results"
mkdir -p "$work/prefix" "$results"

export WINEPREFIX=$work/prefix WINEARCH=$TAMUX_WINE_ARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# A private CUPS scheduler with a CUPS-PDF queue (tests/wine/cups.sh), so that the spooler and
# printing suites meet a real printer through Wine's CUPS support. Without it the printer tests
# are skipped.
start_printer() {
    local env
    if env=$("$here/cups.sh" start "$work/cups"); then
        eval "$env"
        "$here/cups.sh" paper-names "$work/cups" >"$results/cups-paper-names.txt"
        export TAMUX_CUPS_PAPER_NAMES=$(windows_path "$results/cups-paper-names.txt")
    else
        echo "wine lane: no private CUPS server; the printer tests are skipped"
    fi
}

stop_server() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    "$here/cups.sh" stop "$work/cups" >/dev/null 2>&1
}
trap stop_server EXIT

start_printer

# A persistent server, so that nothing imported is lost between the steps.
wineserver -p
wineboot -i >"$results/wineboot.log" 2>&1

# The registry fixtures go under HKCU\Software\Tamux Fixtures\<root name>\ (the conformance
# program looks for them there): a running Wine keeps rewriting its own device and display keys,
# which must not mix with the exported ones.
relocate() {
    local from=$1 to=$2
    {
        printf '\xff\xfe'
        iconv -f UTF-16 -t UTF-8 "$from" |
            sed -E 's/^\[(-?)(HKEY_LOCAL_MACHINE|HKEY_CURRENT_USER)\\/[\1HKEY_CURRENT_USER\\Software\\Tamux Fixtures\\\2\\/' |
            iconv -f UTF-8 -t UTF-16LE
    } >"$to"
}

# Windows XP, then the fixtures and the lane's data, in the order the program loads them into
# its simulated registry.
cat >"$results/prefix-settings.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine]
"Version"="winxp"
EOF
imports=("$(windows_path "$results/prefix-settings.reg")")
if [ -d "$fixtures" ]; then
    mkdir -p "$results/fixtures"
    for file in "$fixtures"/wine-8.0/*.reg "$fixtures"/real-xp/*.reg; do
        [ -e "$file" ] || continue
        relocated=$results/fixtures/$(basename "$(dirname "$file")")-$(basename "$file")
        relocate "$file" "$relocated"
        imports+=("$(windows_path "$relocated")")
    done
    export TAMUX_FIXTURES_DIR=$(windows_path "$fixtures")
else
    echo "wine lane: $fixtures is absent; the fixture comparisons are skipped"
fi
imports+=("$(windows_path "$data/conformance.reg")")
wine regedit /S "${imports[@]}" >"$results/regedit.log" 2>&1
if ! wine "$regimport" "$(windows_path "$data/dyn-data-9x.reg")" >"$results/regimport.log" 2>&1; then
    cat "$results/regimport.log"
    echo "wine lane: regimport failed"
fi
cat "$results/regimport.log"

export TAMUX_WINE_LANE_PREPARED=1
export TAMUX_WINE_DATA_DIR=$(windows_path "$data")

total=0
failed=0
skipped=0

# count <xml>: adds the tests and failures of a GoogleTest XML report to the totals; a missing
# report (the program crashed) counts as one failure.
count() {
    local xml=$1 tests failures errors
    if [ ! -f "$xml" ]; then
        failed=$((failed + 1))
        total=$((total + 1))
        return
    fi
    tests=$(grep -o '<testsuites [^>]*' "$xml" | grep -o ' tests="[0-9]*"' | grep -o '[0-9]*')
    failures=$(grep -o '<testsuites [^>]*' "$xml" | grep -o ' failures="[0-9]*"' | grep -o '[0-9]*')
    errors=$(grep -o '<testsuites [^>]*' "$xml" | grep -o ' errors="[0-9]*"' | grep -o '[0-9]*')
    total=$((total + ${tests:-0}))
    failed=$((failed + ${failures:-0} + ${errors:-0}))
    skipped=$((skipped + $(grep -c '<skipped ' "$xml")))
}

# failed_blocks <log>: the output of every failed test, and the comparison reports.
failed_blocks() {
    awk '/^\[ RUN      \]/ { block = ""; keep = 1 }
         keep { block = block $0 "\n" }
         /^\[       OK \]|^\[  SKIPPED \]/ { keep = 0 }
         /^\[  FAILED  \] .*\(/ { if (keep) printf "%s", block; keep = 0 }
         /^\[ compared \]|^\[ version \]/ { print }' "$1" | head -n 400
}

echo "--- conformance suites"
wine "$exe" --gtest_filter='-WineVersion.*' \
    --gtest_output="xml:$(windows_path "$results/conformance.xml")" >"$results/conformance.log" 2>&1
status=$?
failed_blocks "$results/conformance.log"
grep -E '^\[  (PASSED  |SKIPPED )\] [0-9]+ test' "$results/conformance.log"
[ -f "$results/conformance.xml" ] || echo "the conformance program ended with $status and no report"
count "$results/conformance.xml"

# Once more as on Windows 95, which lacks the optional functions: the program must find none of
# them, and the file suites must still agree when a file's times come from its directory entry.
echo "--- with the fallbacks forced"
TAMUX_FORCE_FALLBACKS=1 wine "$exe" \
    --gtest_filter='FilesConformance*:OptionalFunctionsConformance*' \
    --gtest_output="xml:$(windows_path "$results/fallbacks.xml")" >"$results/fallbacks.log" 2>&1
failed_blocks "$results/fallbacks.log"
grep -E '^\[  PASSED  \] [0-9]+ test' "$results/fallbacks.log"
count "$results/fallbacks.xml"

echo "--- version classification"
exe_name=$(basename "$exe")
for version in $versions; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe_name" /v Version /d "$version" /f \
        >/dev/null 2>&1
    TAMUX_WINE_VERSION=$version wine "$exe" --gtest_filter='WineVersion.*' \
        --gtest_output="xml:$(windows_path "$results/version-$version.xml")" \
        >"$results/version-$version.log" 2>&1
    failed_blocks "$results/version-$version.log"
    grep -q '^\[ version \]' "$results/version-$version.log" || echo "[ version ] $version: no report"
    count "$results/version-$version.xml"
done
wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$exe_name" /f >/dev/null 2>&1

# The language modules in a German, a Czech and a Russian locale, each in a prefix of its own.
echo "--- language locales"
"$here/lang_locales.sh" "$work/locales" "$exe" >"$results/lang-locales.log" 2>&1
locale_status=$?
tail -n 5 "$results/lang-locales.log"
total=$((total + 1))
[ "$locale_status" -eq 0 ] || failed=$((failed + 1))

# A capture of three machines made real in prefixes of their own replays into the same report.
echo "--- capture round trip"
tamux_report=${TAMUX_REPORT_TOOL:-$root/build/native/tools/tamux_report/tamux-report}
if [ -x "$tamux_report" ]; then
    wineserver -k >/dev/null 2>&1
    "$here/cups.sh" stop "$work/cups" >/dev/null 2>&1
    "$here/capture_round_trip.sh" "$work/capture" "$(dirname "$(dirname "$exe")")" \
        "$tamux_report" >"$results/capture-round-trip.log" 2>&1
    capture_status=$?
    grep '^capture round trip' "$results/capture-round-trip.log"
    total=$((total + 1))
    [ "$capture_status" -eq 0 ] || failed=$((failed + 1))
else
    echo "capture round trip: no native tamux-report at $tamux_report (build the native preset)"
    skipped=$((skipped + 1))
fi

summary "$total" "$failed"
[ "$failed" -eq 0 ]
