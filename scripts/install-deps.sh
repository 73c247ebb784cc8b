#!/usr/bin/env bash
# Installs the Debian packages the counter needs to build, run and test (clang and its sanitizer and libFuzzer
# runtimes for the fuzz targets, the X client library for the benchmark); does nothing when all are present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libqt6sql6-odbc libgl-dev
    libsqlite3-dev libsodium-dev unixodbc-dev tdsodbc
    xvfb xauth fonts-dejavu-core clang-format clang-tidy git
    qt6-translations-l10n
    clang libclang-rt-14-dev libxcb1-dev
    dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0 python3-gi xdotool
    dpkg-dev file
    # The private PostgreSQL server of the "postgres" tests, reached through its ODBC driver.
    postgresql odbc-postgresql
    # The Windows build and its tests under Wine (scripts/windows-toolchain.sh makes the rest from Debian's sources).
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine64 nsis tcl autoconf automake libtool sqlite3
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
