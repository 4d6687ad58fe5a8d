# Windows build: Tolvaring.exe and the test programs that run under Wine.
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
# Loaded when first called, not at every start: only the setup dialog needs the common
# controls, only some hand-offs the shell (known folders, an elevated client) and COM. The
# delay-import libraries name just the functions the program calls. The helper's hooks
# (startup/SafeLoading) load them from System32 by their full path, comctl32 by name from
# the side-by-side store while the common controls' context is active. WinINet too: Windows
# resolves ordinary imports before any code of ours runs, and outside the KnownDLLs of
# every Windows from 7 to 11 it would search the program's folder first ("Dynamic-link
# library search order", learn.microsoft.com), so a wininet.dll placed beside Tolvaring.exe
# would run as Tolvaring.
foreach(dll wininet ws2_32 iphlpapi xmllite shell32 ole32 comctl32)
  set(lib ${CMAKE_BINARY_DIR}/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${TOOLCHAIN_PREFIX}-dlltool --input-def ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def
            --output-delaylib ${lib}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
  list(APPEND DELAY_LOADED ${lib})
endforeach()
add_custom_target(delayload DEPENDS ${DELAY_LOADED})
set(WIN_LIBS ${DELAY_LOADED} uuid advapi32 user32 gdi32 kernel32)

add_library(winplatform STATIC
  common/Ansi_win.cpp
  common/CommonControls_win.cpp
  common/ErrorText_win.cpp
  common/FileKind_win.cpp
  common/FormClass_win.cpp
  common/Forms_win.cpp
  common/MessageBox_win.cpp
  common/Twips_win.cpp
  settings/clsRegistry_win.cpp
  settings/RegCalls_win.cpp
  detect/Fetch_win.cpp
  detect/Http_win.cpp
  detect/Router_win.cpp
  detect/WorkerJob_win.cpp
  detect/RouterXml_win.cpp
  detect/ServerAddresses_win.cpp
  detect/frmMain_win.cpp
  startup/basMain_win.cpp
  startup/Client_win.cpp
  startup/Launch_win.cpp
  startup/OneCopy_win.cpp
  startup/SafeLoading_win.cpp
  startup/DirList_win.cpp
  startup/frmSetup_win.cpp)
target_compile_definitions(winplatform PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                           _WIN32_WINNT=0x0601)
target_link_libraries(winplatform PUBLIC core ${WIN_LIBS})
add_dependencies(winplatform delayload)

set(RC_FILE ${CMAKE_SOURCE_DIR}/resources/Tolvaring.rc)
set_source_files_properties(${RC_FILE} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/Tolvaring.ico;${CMAKE_SOURCE_DIR}/resources/Tolvaring.manifest;${CMAKE_SOURCE_DIR}/resources/CommonControls.manifest;${CMAKE_SOURCE_DIR}/resources/resource.h")

# The imports need Windows 7 (K32GetProcessMemoryInfo and others): the header says so, and
# an older Windows refuses the program with its own clear message instead of a missing
# entry point.
set(WIN7_HEADER -Wl,--major-os-version,6,--minor-os-version,1
                -Wl,--major-subsystem-version,6,--minor-subsystem-version,1)
# The program's entry, compiled once for the program and its test build.
add_library(programentry OBJECT startup/WinMain_win.cpp startup/LeanRuntime_win.cpp)
target_link_libraries(programentry PRIVATE winplatform)
add_executable(Tolvaring WIN32 $<TARGET_OBJECTS:programentry> detect/HttpSettings_win.cpp
               ${RC_FILE})
target_link_libraries(Tolvaring PRIVATE winplatform)
# Stripped by the linker and without a link time stamp: two builds of one commit give
# the same bytes (strip would stamp the time again).
target_link_options(Tolvaring PRIVATE -municode ${STATIC_RUNTIME} -Wl,--gc-sections -s
                    -Wl,--no-insert-timestamp ${WIN7_HEADER})

# The test build: the same program with the test seams, which the tests link too. Compiled
# once, linked as objects, so that they stand in for the program's own definitions.
add_library(testseams OBJECT tests/win/TestHttpSettings_win.cpp tests/win/TestMessageBox_win.cpp
            tests/win/TestLaunch_win.cpp)
target_link_libraries(testseams PRIVATE winplatform)
set(TEST_SEAMS $<TARGET_OBJECTS:testseams>)
add_executable(TolvaringTest WIN32 $<TARGET_OBJECTS:programentry> ${TEST_SEAMS} ${RC_FILE})
target_link_libraries(TolvaringTest PRIVATE winplatform)
target_link_options(TolvaringTest PRIVATE -municode ${STATIC_RUNTIME} -Wl,--gc-sections
                    ${WIN7_HEADER})

# The release artefact: a file the packages depend on, so that they are made again whenever
# the program is (a target alone would only order the steps, and leave old packages).
set(RELEASE_EXE ${CMAKE_BINARY_DIR}/Tolvaring-stripped.exe)
add_custom_command(OUTPUT ${RELEASE_EXE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tolvaring> ${RELEASE_EXE}
  DEPENDS Tolvaring)
add_custom_target(release ALL DEPENDS ${RELEASE_EXE})


# Release packages: a zip with the program and its German read-me, an installer, and
# their SHA-256 sums. Everything is made reproducible: fixed file times in the zip, no
# time stamps in the programs. With SIGN_CERT and SIGN_KEY (PEM files) the program is
# signed before it is packed, and the installer after (tools/sign.sh, osslsigncode).
find_program(MAKENSIS makensis)
find_program(ZIP zip)
set(DIST ${CMAKE_BINARY_DIR}/dist)
set(SIGN_CERT "" CACHE FILEPATH "Authenticode certificate (PEM) to sign the release with")
set(SIGN_KEY "" CACHE FILEPATH "its private key (PEM)")
if(SIGN_CERT AND SIGN_KEY)
  set(SIGN_EXE ${CMAKE_SOURCE_DIR}/tools/sign.sh ${SIGN_CERT} ${SIGN_KEY} ${DIST}/zip/Tolvaring.exe)
  set(SIGN_SETUP ${CMAKE_SOURCE_DIR}/tools/sign.sh ${SIGN_CERT} ${SIGN_KEY} ${DIST}/Tolvaring-Setup.exe)
else()
  set(SIGN_EXE ${CMAKE_COMMAND} -E true)
  set(SIGN_SETUP ${CMAKE_COMMAND} -E true)
endif()
if(MAKENSIS AND ZIP)
  add_custom_command(
    OUTPUT ${DIST}/Tolvaring-Setup.exe ${DIST}/Tolvaring-1.0.zip ${DIST}/SHA256SUMS
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST}/zip
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/Tolvaring-stripped.exe ${DIST}/zip/Tolvaring.exe
    COMMAND ${SIGN_EXE}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/LIESMICH.txt ${DIST}/zip/LIESMICH.txt
    COMMAND touch -d 2000-01-01T00:00:00Z ${DIST}/zip/Tolvaring.exe ${DIST}/zip/LIESMICH.txt
    COMMAND ${CMAKE_COMMAND} -E rm -f ${DIST}/Tolvaring-1.0.zip
    COMMAND ${CMAKE_COMMAND} -E chdir ${DIST}/zip env TZ=UTC ${ZIP} -q -X ${DIST}/Tolvaring-1.0.zip Tolvaring.exe LIESMICH.txt
    COMMAND ${MAKENSIS} -V2 -DEXE=${DIST}/zip/Tolvaring.exe -DOUTFILE=${DIST}/Tolvaring-Setup.exe
            ${CMAKE_SOURCE_DIR}/resources/Tolvaring.nsi
    COMMAND ${SIGN_SETUP}
    COMMAND ${CMAKE_COMMAND} -E copy ${DIST}/zip/Tolvaring.exe ${DIST}/Tolvaring.exe
    COMMAND ${CMAKE_COMMAND} -E chdir ${DIST} sha256sum Tolvaring.exe Tolvaring-1.0.zip Tolvaring-Setup.exe > ${DIST}/SHA256SUMS
    DEPENDS ${RELEASE_EXE} ${CMAKE_SOURCE_DIR}/resources/Tolvaring.nsi ${CMAKE_SOURCE_DIR}/resources/LIESMICH.txt
            ${CMAKE_SOURCE_DIR}/tools/sign.sh
    COMMENT "Packaging Tolvaring-1.0.zip and Tolvaring-Setup.exe")
  add_custom_target(dist ALL DEPENDS ${DIST}/Tolvaring-Setup.exe ${DIST}/Tolvaring-1.0.zip)
  # For the tests only: the same installer, taking itself for a standard user's, as Wine
  # cannot show one (and /TESTDECLINE for a No at the elevation prompt). Built as makensis
  # on a German Windows would read the script (code page 1252): the script's byte-order
  # mark must decide, or "Tolvaring – Einstellungen" and the umlauts come out garbled.
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/Tolvaring-Setup-test.exe
    COMMAND ${MAKENSIS} -V2 -INPUTCHARSET CP1252 -DTEST_NOT_ADMIN
            -DEXE=${CMAKE_BINARY_DIR}/Tolvaring-stripped.exe
            -DOUTFILE=${CMAKE_BINARY_DIR}/Tolvaring-Setup-test.exe
            ${CMAKE_SOURCE_DIR}/resources/Tolvaring.nsi
    DEPENDS ${RELEASE_EXE} ${CMAKE_SOURCE_DIR}/resources/Tolvaring.nsi ${CMAKE_SOURCE_DIR}/resources/LIESMICH.txt
    COMMENT "Packaging the installer's test build")
  add_custom_target(setup_test_build ALL DEPENDS ${CMAKE_BINARY_DIR}/Tolvaring-Setup-test.exe)
endif()

# The release alone, without the tests and their builds (tests/release_test.sh builds so).
option(TOLVARING_RELEASE_ONLY "Configure only the release, without the tests" OFF)
if(NOT TOLVARING_RELEASE_ONLY)
  include(cmake/WindowsTests.cmake)
endif()
