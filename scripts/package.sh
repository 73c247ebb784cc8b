#!/usr/bin/env bash
# Builds the Debian package of the counter (program, orvadmin, orvdemo, icons, menu and autostart
# entries) and leaves it in build/: install it with `apt install ./build/orvcounter_*.deb`.
# The package is built in its own tree (build-package/, installed under /usr, no tests).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DORV_BUILD_TESTS=OFF >/dev/null
cmake --build build-package -j "$(nproc)"
mkdir -p build
(cd build-package && cpack -G DEB -B "$PWD/../build" >/dev/null)
rm -rf build/_CPack_Packages
ls build/orvcounter_*.deb
