# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads). ORV_WINDOWS_TOOLCHAIN names the folder
# scripts/windows-toolchain.sh fills (Qt, SQLite, libsodium for Windows); it is searched before the mingw root.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT ORV_WINDOWS_TOOLCHAIN)
    if(DEFINED ENV{ORV_WINDOWS_TOOLCHAIN})
        set(ORV_WINDOWS_TOOLCHAIN "$ENV{ORV_WINDOWS_TOOLCHAIN}")
    else()
        set(ORV_WINDOWS_TOOLCHAIN "$ENV{HOME}/.cache/orvcounter/windows-6.4.2")
    endif()
endif()
set(ORV_WINDOWS_TOOLCHAIN "${ORV_WINDOWS_TOOLCHAIN}" CACHE PATH "Folder of the Windows toolchain")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ORV_WINDOWS_TOOLCHAIN)

# Qt's host tools (moc, rcc) and their CMake description come from the host's Qt.
set(QT_HOST_PATH /usr CACHE PATH "Host Qt")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Host Qt's CMake packages")
list(APPEND CMAKE_PREFIX_PATH "${ORV_WINDOWS_TOOLCHAIN}/qt" "${ORV_WINDOWS_TOOLCHAIN}")

set(CMAKE_FIND_ROOT_PATH "${ORV_WINDOWS_TOOLCHAIN}/qt" "${ORV_WINDOWS_TOOLCHAIN}" /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must describe the Windows libraries, never the host's.
set(ENV{PKG_CONFIG_LIBDIR} "${ORV_WINDOWS_TOOLCHAIN}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
