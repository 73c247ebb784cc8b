# Test helpers: one executable per test file, registered with CTest, run headless.
#
#   orv_add_test(NAME test_name SOURCES file.cpp... LIBS lib...)
#
# Each library folder keeps its tests in <folder>/tests/CMakeLists.txt; those files are
# read after the test support library exists (orv_add_test_dirs).
function(orv_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    # Tests of what only Linux has are not built for Windows (the list and its reasons: cmake/OrvWindows.cmake).
    if(WIN32 AND T_NAME IN_LIST ORV_LINUX_ONLY_TESTS)
        return()
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} testsupport Qt6::Test)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        # Every folder the program writes to points into the build tree, so no test touches real settings.
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;ORV_STATE_DIR=${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}.state;ORV_REGISTRY_USER_DIR=${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}.user;ORV_REGISTRY_MACHINE_DIR=${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}.machine"
        TIMEOUT 300)
    # "unit" and the library folder (core, data, counter…): scripts/quick.sh runs the folders that changed.
    get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" DIRECTORY)
    get_filename_component(folder "${folder}" NAME)
    set_property(TEST ${T_NAME} APPEND PROPERTY LABELS unit ${folder})
endfunction()

macro(orv_add_test_dirs)
    # The test files still build their expected texts from plain literals: QT_NO_CAST_FROM_ASCII, which every
    # other target has, comes to the tests' folders once they spell those texts out.
    get_directory_property(orv_definitions COMPILE_DEFINITIONS)
    list(REMOVE_ITEM orv_definitions QT_NO_CAST_FROM_ASCII)
    set_directory_properties(PROPERTIES COMPILE_DEFINITIONS "${orv_definitions}")
    foreach(dir core registry scramble data security external session editors counter admin tools)
        if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/tests/CMakeLists.txt)
            add_subdirectory(${dir}/tests ${CMAKE_BINARY_DIR}/tests/${dir})
        endif()
    endforeach()
endmacro()

# The tests of a folder: one executable per named tests/<name>.cpp, each linked to the given libraries.
#
#   orv_add_folder_tests(TESTS test_a test_b LIBS lib...)
function(orv_add_folder_tests)
    cmake_parse_arguments(F "" "" "TESTS;LIBS" ${ARGN})
    foreach(name ${F_TESTS})
        orv_add_test(NAME ${name} SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp LIBS ${F_LIBS})
    endforeach()
endfunction()
