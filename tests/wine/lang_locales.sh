#!/usr/bin/env bash
# The language checks of the Wine lane in a German, a Czech and a Russian locale in turn: a fresh
# settings file must get the locale's language ("DE", "CSY", "RUS"), and the texts that the real
# LoadStringA hands over must be the source texts in the locale's code page (1252, 1250, 1251).
#   tests/wine/lang_locales.sh <wine prefix folder> <tamux_wine_tests.exe>
# The modules are taken from the build that holds the program (<build>/suite/Tamux), the texts from
# data/lang. Needs the locales of Debian's locales-all. Ends with one line "lang locales: ...";
# the exit status is 0 only when every locale passed.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=${1:?usage: lang_locales.sh <wine prefix folder> <tamux_wine_tests.exe>}
exe=${2:?usage: lang_locales.sh <wine prefix folder> <tamux_wine_tests.exe>}
[ -f "$exe" ] || { echo "lang locales: no test program at $exe"; exit 1; }
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
build=$(dirname "$(dirname "$exe")")

# locale name, the language code a fresh settings file must get
locales=("de_DE.UTF-8 DE" "cs_CZ.UTF-8 CSY" "ru_RU.UTF-8 RUS")

available=$(locale -a 2>/dev/null)
for entry in "${locales[@]}"; do
    name=${entry% *}
    if ! grep -qix "${name/UTF-8/utf8}" <<<"$available"; then
        echo "lang locales: the locale $name is missing (Debian package locales-all)"
        exit 1
    fi
done

. "$root/scripts/wine-env.sh"
wine_prefix "$prefix" winxp

TAMUX_LANG_MODULE_DIR=$(winepath -w "$build/suite/Tamux" 2>/dev/null)
TAMUX_LANG_TEST_MODULE=$(winepath -w "$(dirname "$exe")/tamuxTEST.dll" 2>/dev/null)
TAMUX_LANG_SOURCE_DIR=$(winepath -w "$root/data/lang" 2>/dev/null)
export TAMUX_LANG_MODULE_DIR TAMUX_LANG_TEST_MODULE TAMUX_LANG_SOURCE_DIR

failed=0
for entry in "${locales[@]}"; do
    name=${entry% *}
    code=${entry#* }
    echo "--- $name (expects $code)"
    # Wine takes the system's language and code page from the locale of the process it starts.
    if LANG=$name LC_ALL=$name TAMUX_EXPECTED_LANG=$code \
        wine "$exe" --gtest_filter='LangConformance*' 2>&1; then
        echo "--- $name passed"
    else
        echo "--- $name FAILED"
        failed=$((failed + 1))
    fi
    wineserver -w
done

echo "lang locales: ${#locales[@]} locales, $failed failed"
[ "$failed" -eq 0 ]
