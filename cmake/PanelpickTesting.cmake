# panelpick_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [GUI]
#                    [MAIN <target>])
# A GoogleTest executable registered with CTest. MAIN names a library that
# brings its own main() (for tests that need a Qt application object);
# otherwise GoogleTest's main is used. GUI tests are skipped in the
# GUI-less (sanitizer) build; with PANELPICK_TSAN_ONLY only tests labelled
# "tsan" are built.
function(panelpick_add_test)
    cmake_parse_arguments(T "GUI" "NAME;MAIN" "SOURCES;LIBS;LABELS" ${ARGN})
    if(PANELPICK_FUZZ OR (T_GUI AND NOT PANELPICK_GUI))
        return()
    endif()
    if(PANELPICK_TSAN_ONLY AND NOT "tsan" IN_LIST T_LABELS)
        return()
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    if(T_MAIN)
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ${T_MAIN} GTest::gtest GTest::gmock)
    else()
        target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    endif()
    gtest_discover_tests(${T_NAME}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# panelpick_add_fuzzer(NAME <name> SOURCES <files...> LIBS <targets...> [CORPUS <dir>] [SECONDS <n>])
# A libFuzzer target, built only with PANELPICK_FUZZ (clang). It is registered
# with CTest under the label "fuzz" as a short run; a longer run is the same
# binary started by hand (see README).
function(panelpick_add_fuzzer)
    cmake_parse_arguments(F "" "NAME;CORPUS;SECONDS" "SOURCES;LIBS" ${ARGN})
    if(NOT PANELPICK_FUZZ)
        return()
    endif()
    if(NOT F_SECONDS)
        set(F_SECONDS 20)
    endif()
    add_executable(${F_NAME} ${F_SOURCES})
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
    set(args -max_total_time=${F_SECONDS} -rss_limit_mb=2048)
    if(F_CORPUS)
        # libFuzzer writes new inputs into the first folder: keep the source tree clean.
        set(work ${CMAKE_CURRENT_BINARY_DIR}/${F_NAME}-corpus)
        file(MAKE_DIRECTORY ${work})
        list(APPEND args ${work} ${F_CORPUS})
    endif()
    add_test(NAME ${F_NAME} COMMAND ${F_NAME} ${args})
    set_tests_properties(${F_NAME} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()
