#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: CMake's cross-compiling emulator, so CTest and the build
# run the tests and tools through it.
#
#   wine-run.sh PREFIX TOOLCHAIN PROGRAM.exe [ARGS...]
#
# PREFIX is a Wine prefix of the build's own, made on first use (about 25 s; a lock keeps parallel tests from
# making it twice); TOOLCHAIN is the folder of scripts/windows-toolchain.sh, whose Qt and libraries are put on the
# program's search path. Wine's own messages are off, and so is the X display: tests run on Qt's offscreen
# platform (ORV_WINE_DISPLAY=1 keeps DISPLAY for a program that shows windows on a virtual display).
set -euo pipefail
prefix=$1 toolchain=$2
shift 2
wine=${ORV_WINE:-/usr/lib/wine/wine64}
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
export WINEPATH="$(windows_path "$toolchain/qt/bin");$(windows_path "$toolchain/bin")"
if [ -z "${ORV_WINE_DISPLAY:-}" ]; then
    unset DISPLAY WAYLAND_DISPLAY
fi
if [ ! -f "$prefix/.orv-ready" ]; then
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/.orv-ready" ]; then
            env -u DISPLAY "$wine" wineboot --init >/dev/null 2>&1
            touch "$prefix/.orv-ready"
        fi
    ) 9>"$prefix.lock"
fi
# Wine hands a Windows program no QT_ variable of the Unix environment (they are meant for the host's Qt): the
# platform asked for (the tests' offscreen one) goes into the prefix's own environment, which every program reads
# at its start, with the host's DejaVu fonts for it (Qt's offscreen platform on Windows reads fonts from a folder).
qpa=${QT_QPA_PLATFORM:-}
fonts=
if [ -n "$qpa" ] && [ -d /usr/share/fonts/truetype/dejavu ]; then
    fonts=$(windows_path /usr/share/fonts/truetype/dejavu)
fi
prefix_environment() {
    local name=$1 value=$2
    if [ -n "$value" ]; then
        "$wine" reg add 'HKCU\Environment' /v "$name" /d "$value" /f >/dev/null 2>&1
    else
        "$wine" reg delete 'HKCU\Environment' /v "$name" /f >/dev/null 2>&1 || true
    fi
}
if [ "$(cat "$prefix/.orv-qpa" 2>/dev/null)" != "$qpa|$fonts" ]; then
    (
        flock 9
        if [ "$(cat "$prefix/.orv-qpa" 2>/dev/null)" != "$qpa|$fonts" ]; then
            prefix_environment QT_QPA_PLATFORM "$qpa"
            prefix_environment QT_QPA_FONTDIR "$fonts"
            printf '%s' "$qpa|$fonts" >"$prefix/.orv-qpa"
        fi
    ) 9>"$prefix.lock"
fi
# A Qt test's own log does not reach standard output under Wine (its text logger writes nothing to a pipe there):
# the test writes it to a file, shown afterwards, and its exit status is kept.
case "$(basename "$1")" in
test_*.exe)
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    status=0
    "$wine" "$@" -o "$(windows_path "$log"),txt" || status=$?
    cat "$log"
    exit "$status"
    ;;
esac
exec "$wine" "$@"
