#!/usr/bin/env bash
# Builds the Windows installer and the portable zip on Debian 12: the cross toolchain first when this machine has
# none (scripts/windows-toolchain.sh, about an hour on two busy cores, once), then the three programs for Windows
# in build-win/, packaged by CPack (NSIS and ZIP) into build-win/packages/; then starts the counter under Wine on a
# demo office and keeps pictures of it in build/screenshots/windows/ (scripts/windows-screenshot.sh;
# ORV_WINDOWS_SCREENSHOT=0 leaves that out).
set -euo pipefail
cd "$(dirname "$0")/.."
phase() { echo "== $1 ($(date +%T))"; }

phase "Windows toolchain"
toolchain=$(bash scripts/windows-toolchain.sh | tail -n 1)
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
fi
build=${ORV_WINDOWS_BUILD_DIR:-build-win}

phase "the programs for Windows"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
    -DORV_WINDOWS_TOOLCHAIN="$toolchain" -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

phase "the installer and the zip"
rm -rf "$build/packages"
(cd "$build" && cpack -B packages >/dev/null)
rm -rf "$build/packages/_CPack_Packages"
version=$(sed -n 's/^project(OrvCounter VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
cmake -E chdir "$build/packages" cmake -E tar tf "orvcounter-$version-win64.zip" \
    | sed 's|^[^/]*/||' | grep -v '/$' | sort >"$build/packages/files.txt"
echo "Installer and zip in $build/packages ($(wc -l <"$build/packages/files.txt") files each):"
ls -l "$build/packages"

phase "the installer under Wine"
# Installs silently into a Wine prefix of its own, checks the programs, the Start-menu entry and the start with the
# session, then uninstalls and checks that all three are gone.
prefix=$PWD/$build/wine-installer
# A Wine server left by an earlier run would write into the prefix while it is removed.
[ -d "$prefix" ] && WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
rm -rf "$prefix"
wine() { WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= /usr/lib/wine/wine64 "$@"; }
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
installed="$prefix/drive_c/Program Files/Contador de Tempo"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Contador de Tempo/Contador de Tempo.lnk"
wine wineboot --init >/dev/null 2>&1
wine "$build/packages/orvcounter-$version-win64.exe" /S
WINEPREFIX=$prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
for file in orvcounter.exe orvadmin.exe orvdemo.exe Uninstall.exe; do
    [ -f "$installed/$file" ] || { echo "The installer left out $file" >&2; exit 1; }
done
[ -f "$menu" ] || { echo "The installer made no Start-menu entry" >&2; exit 1; }
wine reg query "$run_key" /v OrvCounter | grep -q 'orvcounter.exe' \
    || { echo "The installer does not start the counter with the session" >&2; exit 1; }
general_key='HKLM\Software\Classes\CLSID\{5E0C2F1B-8D4A-4C6B-A1F2-7B3E9D5C4A10}\LocalServer32'
wine reg query 'HKLM\Software\Classes\OrvCounter.General\CLSID' | grep -q '{5E0C2F1B-8D4A-4C6B-A1F2-7B3E9D5C4A10}' \
    && wine reg query "$general_key" | grep -q 'orvcounter.exe" /Automation' \
    || { echo "The installer did not register the automation class OrvCounter.General" >&2; exit 1; }
# The uninstaller runs again from a copy of itself and returns at once: wait for every program of the prefix.
wine "C:\\Program Files\\Contador de Tempo\\Uninstall.exe" /S
WINEPREFIX=$prefix /usr/lib/wine/wineserver -w 2>/dev/null || true
if [ -e "$installed/orvcounter.exe" ] || [ -e "$menu" ] || wine reg query "$run_key" /v OrvCounter >/dev/null 2>&1 ||
    wine reg query 'HKLM\Software\Classes\OrvCounter.General' >/dev/null 2>&1; then
    echo "The uninstaller left the program, its Start-menu entry, its start with the session or its automation class" >&2
    exit 1
fi
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
rm -rf "$prefix"
echo "Installed, found in place (programs, Start menu, start with the session, the automation class) and uninstalled under Wine"

if [ "${ORV_WINDOWS_SCREENSHOT:-1}" != 0 ]; then
    phase "the counter under Wine"
    bash scripts/windows-screenshot.sh "$build"
fi
phase "done"
