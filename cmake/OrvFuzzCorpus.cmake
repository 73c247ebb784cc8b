# Each fuzz target over the inputs kept in fuzz/corpus/<target>/, once, as a test of this build (fuzz/replay.cpp
# stands for libFuzzer's main): what a search once found stays caught on every run, under the sanitizers in
# build-asan/. The search for new inputs is scripts/fuzz.sh's (a clang project of its own, fuzz/CMakeLists.txt).
add_library(fuzzsupport STATIC fuzz/fuzzsupport.h fuzz/fuzzsupport.cpp fuzz/replay.cpp)
target_link_libraries(fuzzsupport PUBLIC core Qt6::Core)
foreach(target_libs regfile:registry tsqltranslator:data connectiontext:data sqlliteral:data dencriptserial:scramble)
    string(REPLACE ":" ";" pair "${target_libs}")
    list(GET pair 0 target)
    list(GET pair 1 library)
    add_executable(fuzz_${target}_corpus fuzz/fuzz_${target}.cpp)
    target_link_libraries(fuzz_${target}_corpus PRIVATE fuzzsupport ${library})
    add_test(NAME fuzz_${target}_corpus COMMAND fuzz_${target}_corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${target})
    set_tests_properties(fuzz_${target}_corpus PROPERTIES LABELS fuzz TIMEOUT 120)
endforeach()
find_package(SQLite3 REQUIRED)
target_link_libraries(fuzz_sqlliteral_corpus PRIVATE SQLite::SQLite3)
# A corpus folder that holds no input (moved, or emptied) fails rather than passing with nothing replayed.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-empty-corpus)
add_test(NAME fuzz_empty_corpus COMMAND fuzz_regfile_corpus ${CMAKE_BINARY_DIR}/fuzz-empty-corpus)
set_tests_properties(fuzz_empty_corpus PROPERTIES LABELS fuzz WILL_FAIL TRUE)
