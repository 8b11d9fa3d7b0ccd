# panelpick_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [GUI])
# A GoogleTest executable registered with CTest. GUI tests are skipped in the
# GUI-less (sanitizer) build; with PANELPICK_TSAN_ONLY only tests labelled
# "tsan" are built.
function(panelpick_add_test)
    cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
    if(T_GUI AND NOT PANELPICK_GUI)
        return()
    endif()
    if(PANELPICK_TSAN_ONLY AND NOT "tsan" IN_LIST T_LABELS)
        return()
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${T_NAME}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
