# Install step of the Windows build: copies Qt's plugins of the kinds named and every DLL the programs and those
# plugins import, as their import tables say (objdump), from the toolchain's folders. What is not found there must
# be part of Windows itself: each such name is checked against Wine's own copy of the system's DLLs, so a library
# missing from the package stops the install instead of the program on an office's machine.
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM "windows+pe")
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL "objdump")
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${objdump}")
set(destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

set(plugins)
foreach(kind IN LISTS plugin_kinds)
    file(GLOB found "${toolchain}/qt/plugins/${kind}/*.dll")
    foreach(plugin IN LISTS found)
        file(INSTALL "${plugin}" DESTINATION "${destination}/plugins/${kind}")
        get_filename_component(name "${plugin}" NAME)
        list(APPEND plugins "${destination}/plugins/${kind}/${name}")
    endforeach()
endforeach()

set(executables)
foreach(program IN LISTS programs)
    list(APPEND executables "${destination}/${program}")
endforeach()

# Import tables name DLLs in any letter case, and CMake looks them up in lower case: on a Linux file system the
# toolchain's DLLs are found through lower-case links to them, and installed under their own names.
set(lowercase "${destination}.dlls")
file(REMOVE_RECURSE "${lowercase}")
file(MAKE_DIRECTORY "${lowercase}")
file(GLOB toolchain_dlls "${toolchain}/qt/bin/*.dll" "${toolchain}/bin/*.dll")
foreach(dll IN LISTS toolchain_dlls)
    get_filename_component(name "${dll}" NAME)
    string(TOLOWER "${name}" lower)
    file(CREATE_LINK "${dll}" "${lowercase}/${lower}" SYMBOLIC)
    set("original_${lower}" "${dll}")
endforeach()

file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${executables}
    MODULES ${plugins}
    DIRECTORIES "${lowercase}"
    PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
    RESOLVED_DEPENDENCIES_VAR resolved
    UNRESOLVED_DEPENDENCIES_VAR unresolved)
foreach(library IN LISTS resolved)
    get_filename_component(name "${library}" NAME)
    string(TOLOWER "${name}" lower)
    file(INSTALL "${original_${lower}}" DESTINATION "${destination}")
endforeach()
file(REMOVE_RECURSE "${lowercase}")

set(system_dlls "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows")
if(IS_DIRECTORY "${system_dlls}")
    foreach(name IN LISTS unresolved)
        string(TOLOWER "${name}" lower)
        if(NOT EXISTS "${system_dlls}/${lower}")
            message(FATAL_ERROR "${name} is imported but is neither in the toolchain nor part of Windows")
        endif()
    endforeach()
endif()
list(LENGTH resolved count)
message(STATUS "Runtime DLLs: ${count} from the toolchain; from Windows: ${unresolved}")
