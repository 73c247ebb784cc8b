# The Windows build (cmake/mingw-w64.cmake, scripts/windows.sh): its programs and tests run under Wine when built
# on Linux, in a Wine prefix of the build folder's own (cmake/wine-run.sh).
if(CMAKE_CROSSCOMPILING)
    set(ORV_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "Wine prefix of the tests")
    set(CMAKE_CROSSCOMPILING_EMULATOR bash ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${ORV_WINE_PREFIX}
        ${ORV_WINDOWS_TOOLCHAIN})
endif()
# windows.h defines no min and max macros over std::min and std::max.
add_compile_definitions(NOMINMAX)

# The unit tests that are not built for Windows, each for what it needs that only Linux has. (The end-to-end run,
# the screenshot, the PostgreSQL suites and the source checks are registered by the Linux build only.)
set(ORV_LINUX_ONLY_TESTS
    # TZ and /etc/localtime: how Unix's C library is told the zone; Windows' runtime asks the system.
    test_timezone
    # The .reg file store that stands for the registry elsewhere; Windows has the registry itself.
    test_registryfile
    # Reads the exported file back through the host's Python csv module, which a Windows program cannot start.
    test_csvexport
    # A silent server on POSIX sockets and the FreeTDS driver of unixODBC by its Linux path.
    test_connectionodbc
    # Starts and halts a PostgreSQL server of its own (scripts/pg-server.sh).
    test_serveroutage
    # Moves, deletes and freezes the office file under the open counter: Windows keeps a file a connection holds
    # open from all three, so those outages cannot happen there.
    test_outage
    # A private dbus-daemon standing for the desktop's and logind's buses; the Windows Qt is built without D-Bus.
    test_idlesource_dbus
)
