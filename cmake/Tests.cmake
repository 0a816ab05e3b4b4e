# Unit tests (GoogleTest) and end-to-end tests, run by CTest. Natively the
# system's GoogleTest is used; the Windows build compiles it from the sources
# that Debian's googletest package installs and runs every test under wine in
# a wine prefix of its own.

if(CMAKE_CROSSCOMPILING)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set(ZALPRINT_GTEST_MAIN gtest_main)
    set(ZALPRINT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(ZALPRINT_TEST_ENVIRONMENT
        "WINEDEBUG=-all"
        "WINEDLLOVERRIDES=mscoree,mshtml="
        "LC_ALL=ca_ES.UTF-8"
        "WINEPREFIX=${ZALPRINT_WINEPREFIX}")
else()
    find_package(GTest REQUIRED)
    set(ZALPRINT_GTEST_MAIN GTest::gtest_main)
    set(ZALPRINT_TEST_ENVIRONMENT "")
endif()

file(GLOB ZALPRINT_UNIT_TESTS CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(zalprint_tests ${ZALPRINT_UNIT_TESTS})
target_link_libraries(zalprint_tests PRIVATE zalcore ${ZALPRINT_GTEST_MAIN} zalprint_warnings)

if(CMAKE_CROSSCOMPILING)
    # The wine prefix is made once, before any test program runs in it; its
    # server runs for the whole test run and is ended after the last test.
    add_test(NAME wine_prefix
             COMMAND ${CMAKE_COMMAND} -E env ${ZALPRINT_TEST_ENVIRONMENT}
                     bash ${CMAKE_SOURCE_DIR}/tests/wine-prefix.sh ${WINE_PROGRAM})
    set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
    add_test(NAME wine_prefix_stop
             COMMAND ${CMAKE_COMMAND} -E env ${ZALPRINT_TEST_ENVIRONMENT}
                     bash ${CMAKE_SOURCE_DIR}/tests/wine-prefix.sh ${WINE_PROGRAM} stop)
    set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine)
    add_test(NAME unit COMMAND zalprint_tests --gtest_brief=0)
    set_tests_properties(unit PROPERTIES FIXTURES_REQUIRED wine
                         ENVIRONMENT "${ZALPRINT_TEST_ENVIRONMENT}" TIMEOUT 600)
    # The program on wine's console, on a pseudo-terminal.
    add_subdirectory(tests/console)
else()
    include(GoogleTest)
    gtest_discover_tests(zalprint_tests DISCOVERY_TIMEOUT 60)
endif()

# End-to-end tests of the real program live in tests/e2e/; each folder adds its own.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
    add_subdirectory(tests/e2e)
endif()

# The bad-input table and the document rendered by a real browser.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/badinput/CMakeLists.txt)
    add_subdirectory(tests/badinput)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/browser/CMakeLists.txt)
    add_subdirectory(tests/browser)
endif()
