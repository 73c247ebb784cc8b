#!/usr/bin/env bash
# The unit tests built for Windows and run under Wine (CMake's cross-compiling emulator, cmake/wine-run.sh), headless
# on Qt's offscreen platform, in a Wine prefix of the build folder's own: build-win-test/. Makes the cross toolchain
# first when this machine has none (scripts/windows-toolchain.sh). Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
toolchain=$(bash scripts/windows-toolchain.sh | tail -n 1)
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
fi
build=${ORV_WINDOWS_TEST_DIR:-build-win-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
    -DORV_WINDOWS_TOOLCHAIN="$toolchain" -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
status=0
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@" || status=$?
# The prefix's Wine server outlives the last test by a few seconds: end it now.
WINEPREFIX="$PWD/$build/wine" /usr/lib/wine/wineserver -k 2>/dev/null || true
exit "$status"
