#!/usr/bin/env bash
# Installs the Debian packages that are missing; does nothing when all are present.
#   install-deps.sh            what the counter, orvadmin and orvdemo need to build and run (the demo's set)
#   install-deps.sh --tests    that and what the tests need: the format and tidy checks, clang with its sanitizer
#                              and libFuzzer runtimes, the end-to-end run's accessibility bus and xdotool, the
#                              package tools, a compiler cache, and PostgreSQL's server programs for the private
#                              test server (no cluster is made and no service is enabled or started)
#   install-deps.sh --display  also the virtual display, for a machine without one
#   install-deps.sh --package  also dpkg-shlibdeps and file, with which cpack finds the package's dependencies
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    # qt6-base-dev brings Qt D-Bus too: the desktop's idle time on Wayland, logind's lock and sleep signals.
    qt6-base-dev qt6-qpa-plugins libqt6sql6-sqlite libqt6sql6-odbc libqt6sql6-psql libgl-dev qt6-translations-l10n
    libsqlite3-dev libsodium-dev unixodbc-dev tdsodbc odbc-postgresql fonts-dejavu-core
    # The idle time on X11 (the screen-saver extension).
    libxss-dev
)
tests=0
for argument in "$@"; do
    case "$argument" in
    --tests)
        tests=1
        packages+=(
            xvfb xauth clang-format clang-tidy git ccache
            clang libclang-rt-14-dev libxcb1-dev
            dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0 python3-gi xdotool
            # A window manager and a notification area for the end-to-end run on a real desktop; xwininfo, xprop.
            openbox trayer x11-utils
            dpkg-dev file
            postgresql-15
        )
        ;;
    --display) packages+=(xvfb xauth) ;;
    --package) packages+=(dpkg-dev file) ;;
    *) echo "install-deps.sh: unknown option $argument" >&2; exit 2 ;;
    esac
done

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
# The tests start a PostgreSQL server of their own in /tmp. Where the machine had no PostgreSQL before, installing
# the server programs makes no cluster and starts or enables no service; a PostgreSQL already there is left alone.
quiet_postgres=0
if [ "$tests" = 1 ] && ! installed postgresql-common; then
    quiet_postgres=1
    "${as_root[@]}" mkdir -p /etc/postgresql-common/createcluster.d
    echo "create_main_cluster = false" |
        "${as_root[@]}" tee /etc/postgresql-common/createcluster.d/orvcounter-tests.conf >/dev/null
    if [ ! -e /usr/sbin/policy-rc.d ]; then
        printf '#!/bin/sh\nexit 101\n' | "${as_root[@]}" tee /usr/sbin/policy-rc.d >/dev/null
        "${as_root[@]}" chmod 755 /usr/sbin/policy-rc.d
        trap '"${as_root[@]}" rm -f /usr/sbin/policy-rc.d' EXIT
    fi
fi
echo "Installing ${#missing[@]} packages (and what they depend on): ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
if [ "$quiet_postgres" = 1 ] && command -v deb-systemd-helper >/dev/null; then
    "${as_root[@]}" deb-systemd-helper disable postgresql.service >/dev/null 2>&1 || true
fi
