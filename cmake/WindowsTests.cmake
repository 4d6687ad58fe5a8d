# Windows test programs, run by CTest under Wine in one throwaway prefix per run.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# The tests' own code is compiled without optimisation: it compiles in half the time, and
# the program's code they test keeps the release's flags.
set(TEST_CODE_FLAGS -O0)
target_compile_options(gtest PRIVATE ${TEST_CODE_FLAGS})
target_compile_options(gtest_main PRIVATE ${TEST_CODE_FLAGS})

# Four prefixes, each with its own wineserver, display, page server and network namespace,
# so that four chains of tests run side by side (they wait for Wine much of their time): the
# tests of one prefix share its registry and desktop and run one after another. Each prefix
# is a copy of one template set up once per run.
set(WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine-template)
set(WINE_STATE ${CMAKE_BINARY_DIR}/wine-state)
foreach(n 2 3 4)
  set(WINE_STATE${n} ${CMAKE_BINARY_DIR}/wine-state-${n})
endforeach()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh ${WINE_STATE})

add_test(NAME wine_template COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-fixture.sh template ${WINE_TEMPLATE})
set_tests_properties(wine_template PROPERTIES FIXTURES_SETUP winetemplate)
add_test(NAME wine_template_cleanup COMMAND ${CMAKE_COMMAND} -E rm -rf ${WINE_TEMPLATE})
set_tests_properties(wine_template_cleanup PROPERTIES FIXTURES_CLEANUP winetemplate)
foreach(n "" 2 3 4)
  add_test(NAME wine_setup${n} COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-fixture.sh start ${WINE_STATE${n}})
  set_tests_properties(wine_setup${n} PROPERTIES FIXTURES_SETUP wine${n} FIXTURES_REQUIRED winetemplate
                       ENVIRONMENT TOLVARING_WINE_TEMPLATE=${WINE_TEMPLATE})
  add_test(NAME wine_cleanup${n} COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-fixture.sh stop ${WINE_STATE${n}})
  set_tests_properties(wine_cleanup${n} PROPERTIES FIXTURES_CLEANUP wine${n})
endforeach()

# Puts the page server's test CA into the prefix's root store (run by the fixture).
add_executable(trustca tools/trustca.cpp)
target_link_libraries(trustca PRIVATE crypt32)
target_link_options(trustca PRIVATE -municode ${STATIC_RUNTIME})

add_library(wintestsupport STATIC tests/win/TestSupport_win.cpp tests/win/Driver_win.cpp
            tests/win/ProgramRun_win.cpp)
# The tests call more of the shell than the program does.
target_link_libraries(wintestsupport PUBLIC winplatform gtest wininet shell32 ole32 comctl32)
target_include_directories(wintestsupport PUBLIC ${CMAKE_SOURCE_DIR})
# Every test program parses GoogleTest and windows.h: once, for all of them.
target_precompile_headers(wintestsupport PRIVATE <windows.h> <gtest/gtest.h> <string> <vector>)
target_compile_options(wintestsupport PRIVATE ${TEST_CODE_FLAGS})

# A test program run in prefix PREFIX ("", 2, 3 or 4), by WRAPPER (a script that takes the state
# folder and the program as its arguments) or else tools/wine-run.sh, with ARGS. WINDOWS: it
# opens windows, and takes the prefix's desktop too.
function(add_wine_run name program)
  cmake_parse_arguments(T "WINDOWS" "TIMEOUT;WRAPPER;PREFIX" "ARGS;LABELS;ENVIRONMENT" ${ARGN})
  if(NOT T_WRAPPER)
    set(T_WRAPPER ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)
  endif()
  add_test(NAME ${name} COMMAND ${T_WRAPPER} ${WINE_STATE${T_PREFIX}} ${program} ${T_ARGS})
  set(lock registry${T_PREFIX})
  if(T_WINDOWS)
    list(APPEND lock desktop${T_PREFIX})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine${T_PREFIX} RESOURCE_LOCK "${lock}"
                       TIMEOUT ${T_TIMEOUT} LABELS "wine;${T_LABELS}" ENVIRONMENT "${T_ENVIRONMENT}")
endfunction()

# A test program of SOURCES, built and run as add_wine_run says.
function(add_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${TEST_SEAMS})
  target_link_libraries(${name} PRIVATE wintestsupport gtest_main)
  target_precompile_headers(${name} REUSE_FROM wintestsupport)
  target_compile_options(${name} PRIVATE ${TEST_CODE_FLAGS})
  target_link_options(${name} PRIVATE ${STATIC_RUNTIME})
  add_wine_run(${name} $<TARGET_FILE:${name}> ${T_UNPARSED_ARGUMENTS})
endfunction()

add_wine_test(win_settings_tests WINDOWS SOURCES tests/win/settings_test.cpp tests/win/error_text_test.cpp
  tests/win/ansi_test.cpp)
add_wine_test(win_regcalls_tests SOURCES tests/win/regcalls_test.cpp)
# The scan's table too: it reads the page in blocks, and Windows' wchar_t has 2 bytes. And
# the addresses' table, whose passwords are checked against the platform's reading.
add_wine_test(win_detect_tests WINDOWS SOURCES tests/win/http_test.cpp tests/win/status_window_test.cpp
  tests/win/dirlist_test.cpp tests/win/forms_test.cpp
  tests/native/scan_test.cpp tests/native/url_test.cpp tests/win/safe_loading_test.cpp)
add_dependencies(win_detect_tests planted)

# The stand-in peer client and the end-to-end driver of the real program.
add_executable(fakeclient tests/win/fakeclient.cpp)
add_library(planted SHARED tests/win/planted.cpp)
set_target_properties(planted PROPERTIES PREFIX "")
target_link_options(planted PRIVATE ${STATIC_RUNTIME})
# A windows program, as the real client is (a console one would get a console of its own).
target_link_options(fakeclient PRIVATE ${STATIC_RUNTIME} -mwindows)
# The rows that no text of the system's touches run once: the scaling in the German run,
# which saves the pictures of each scale, the colours, keys and focus in this one.
add_wine_test(win_e2e_tests WINDOWS TIMEOUT 600 ARGS --gtest_filter=-*ScaleWithTheScreenDpi
  SOURCES tests/win/courses_test.cpp tests/win/setup_dialog_test.cpp)
add_dependencies(win_e2e_tests Tolvaring TolvaringTest fakeclient)
# The same courses on a German system: Wine takes the locale from LANG (code page 1252).
add_wine_run(win_e2e_tests_german $<TARGET_FILE:win_e2e_tests> WINDOWS PREFIX 3 TIMEOUT 600
  ARGS "--gtest_filter=-*TooltipTextColour:*KeysAndTheCloseBox:*FocusStarts*"
  ENVIRONMENT LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8)

# The demo's driver (make demo).
add_executable(demo_driver tools/demo_driver.cpp)
target_link_libraries(demo_driver PRIVATE wintestsupport)
target_link_options(demo_driver PRIVATE ${STATIC_RUNTIME})
add_dependencies(demo_driver Tolvaring fakeclient)

# The built program from outside: resources, size and imports.
add_wine_test(win_resources_tests SOURCES tests/win/resources_test.cpp)
target_link_libraries(win_resources_tests PRIVATE version)
add_dependencies(win_resources_tests Tolvaring)
add_test(NAME exe_size_and_imports
  COMMAND ${CMAKE_SOURCE_DIR}/tests/check_exe.sh ${CMAKE_BINARY_DIR}/Tolvaring-stripped.exe
          ${TOOLCHAIN_PREFIX}-objdump)

# Answers the installer's own windows for installer_round_trip.
add_executable(installerdriver tests/win/installerdriver.cpp)
target_link_libraries(installerdriver PRIVATE wintestsupport)
target_link_options(installerdriver PRIVATE -municode ${STATIC_RUNTIME})

if(TARGET dist)
  add_test(NAME installer_round_trip
    COMMAND ${CMAKE_SOURCE_DIR}/tests/installer_test.sh ${WINE_STATE4} ${DIST}/Tolvaring-Setup.exe
            ${CMAKE_BINARY_DIR}/Tolvaring-Setup-test.exe)
  set_tests_properties(installer_round_trip PROPERTIES FIXTURES_REQUIRED wine4
                       RESOURCE_LOCK "registry4;desktop4" TIMEOUT 300 LABELS wine)
endif()

# A second build of the release alone compared with this one, and a signed release verified
# (no Wine needed).
add_test(NAME release_reproducible_and_signed
  COMMAND ${CMAKE_SOURCE_DIR}/tests/release_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/release-test
          ${CMAKE_BINARY_DIR})
# Beside the chains of Wine tests from the start, not after them.
set_tests_properties(release_reproducible_and_signed PROPERTIES TIMEOUT 900 COST 1000)

add_executable(foreignwindow tests/win/foreignwindow.cpp)
target_link_options(foreignwindow PRIVATE ${STATIC_RUNTIME} -mwindows)
# The hostile rows in three parts, each beside other rows in a prefix of its own.
add_wine_test(win_hostile_tests WINDOWS PREFIX 4 TIMEOUT 900 ARGS --gtest_filter=-OneCopy.*:HandOffFile.*
  SOURCES tests/win/hostile_pages_test.cpp tests/win/hostile_settings_test.cpp
          tests/win/one_copy_test.cpp tests/win/handoff_file_test.cpp
          tests/win/check_start_test.cpp tests/win/HostileTest_win.cpp)
add_dependencies(win_hostile_tests Tolvaring TolvaringTest fakeclient foreignwindow)
add_wine_run(win_one_copy_tests $<TARGET_FILE:win_hostile_tests> WINDOWS PREFIX 2 TIMEOUT 900
  ARGS --gtest_filter=OneCopy.*)
add_wine_run(win_handoff_file_tests $<TARGET_FILE:win_hostile_tests> WINDOWS PREFIX 3 TIMEOUT 900
  ARGS --gtest_filter=HandOffFile.*)
# The router's rows, on a test network joined to the fixture's namespace while they run.
add_wine_test(win_router_tests WINDOWS PREFIX 2 WRAPPER ${CMAKE_SOURCE_DIR}/tests/router_test.sh
  SOURCES tests/win/router_test.cpp)
add_dependencies(win_router_tests Tolvaring TolvaringTest fakeclient)
add_wine_test(win_slow_tests WINDOWS TIMEOUT 1200 LABELS slow
  SOURCES tests/win/slow_test.cpp)
add_dependencies(win_slow_tests Tolvaring fakeclient)
set_target_properties(win_slow_tests PROPERTIES EXCLUDE_FROM_ALL ON) # make test-slow builds it

# End-to-end benchmark (make bench builds it): the program against a windowless yardstick.
add_executable(minimal_handoff EXCLUDE_FROM_ALL tools/minimal_handoff.cpp)
target_link_libraries(minimal_handoff PRIVATE core wininet advapi32 kernel32)
target_link_options(minimal_handoff PRIVATE ${STATIC_RUNTIME})
add_executable(bench_driver EXCLUDE_FROM_ALL tools/bench_driver.cpp)
target_link_libraries(bench_driver PRIVATE wintestsupport psapi)
target_link_options(bench_driver PRIVATE ${STATIC_RUNTIME})
add_dependencies(bench_driver Tolvaring fakeclient minimal_handoff)

# The README's demo, end to end, in a prefix of its own.
add_test(NAME demo COMMAND ${CMAKE_SOURCE_DIR}/tools/demo.sh ${CMAKE_BINARY_DIR})
set_tests_properties(demo PROPERTIES TIMEOUT 300 LABELS wine RESOURCE_LOCK demo COST 900
                     FIXTURES_REQUIRED winetemplate
                     ENVIRONMENT "CI=1;TOLVARING_WINE_TEMPLATE=${WINE_TEMPLATE}")

# The tests' helpers are test code too (the benchmark's yardstick keeps the release's flags).
foreach(helper trustca fakeclient planted demo_driver installerdriver foreignwindow)
  target_compile_options(${helper} PRIVATE ${TEST_CODE_FLAGS})
endforeach()
