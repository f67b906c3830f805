# Windows build: static 32-bit programs that need no runtime DLLs, and the
# tests that run them under Wine.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wall> $<$<COMPILE_LANGUAGE:CXX>:-Wextra>
                    $<$<COMPILE_LANGUAGE:CXX,C>:-ffunction-sections> $<$<COMPILE_LANGUAGE:CXX,C>:-fdata-sections>)
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -s)

# Tests run through Wine in a 64-bit prefix kept inside this build tree.
set(KIV_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# zlib from Debian's mingw package; the static archive, never the import library.
find_path(ZLIB_INCLUDE zlib.h REQUIRED)
find_file(ZLIB_STATIC libz.a PATHS /usr/${KIV_MINGW_PREFIX}/lib NO_DEFAULT_PATH REQUIRED)

# minizip compiled from Debian's source package fetched by scripts/setup.sh.
set(MINIZIP_DIR ${KIV_DEPS_DIR}/minizip)
if(NOT EXISTS ${MINIZIP_DIR}/unzip.c)
  message(FATAL_ERROR "minizip sources missing in ${MINIZIP_DIR}: run scripts/setup.sh")
endif()
add_library(minizip STATIC ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/ioapi.c ${MINIZIP_DIR}/iowin32.c)
target_include_directories(minizip SYSTEM PUBLIC ${MINIZIP_DIR} ${ZLIB_INCLUDE})
target_compile_options(minizip PRIVATE -w)
target_link_libraries(minizip PUBLIC ${ZLIB_STATIC})
# The writer only makes archives for the tests.
add_library(minizip_writer STATIC ${MINIZIP_DIR}/zip.c)
target_compile_options(minizip_writer PRIVATE -w)
target_link_libraries(minizip_writer PUBLIC minizip)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${KIV_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(kivcore STATIC ${KIV_ALL_SOURCES})
target_include_directories(kivcore PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kivcore PUBLIC minizip)

set(KIV_CONSOLE_SOURCES launcher/ConsoleMainWin32.cpp)
if(EXISTS ${CMAKE_SOURCE_DIR}/launcher/resources/console.rc)
  list(APPEND KIV_CONSOLE_SOURCES launcher/resources/console.rc)
endif()
add_executable(console ${KIV_CONSOLE_SOURCES})
target_link_options(console PRIVATE -municode)
target_link_libraries(console PRIVATE kivcore)

if(EXISTS ${CMAKE_SOURCE_DIR}/runner/Corvane.rc)
  add_executable(Corvane WIN32 runner/CorvaneMainWin32.cpp runner/Corvane.rc)
else()
  add_executable(Corvane WIN32 runner/CorvaneMainWin32.cpp)
endif()
# Corvane throws nothing; without exception support it stays a few dozen KB.
# It shares the platform's header-only handle owners and links nothing else.
set_source_files_properties(runner/CorvaneMainWin32.cpp PROPERTIES COMPILE_OPTIONS -fno-exceptions)
target_include_directories(Corvane PRIVATE ${CMAKE_SOURCE_DIR})

option(KIV_BUILD_TESTS "Build the test exes and fixtures" ON)
if(NOT KIV_BUILD_TESTS)
  return()
endif()

include(${CMAKE_SOURCE_DIR}/tests/fixtures/fixtures.cmake)

# Tests that touch the registry, the environment or shared folders hold this lock.
set(KIV_STATE_LOCK RESOURCE_LOCK wine_state)

add_executable(kiv_unit_tests ${KIV_UNIT_TEST_SOURCES})
target_link_libraries(kiv_unit_tests PRIVATE kivcore gtest_main)
kiv_add_suites(wine kiv_unit_tests SOURCES ${KIV_UNIT_TEST_SOURCES})

if(KIV_WIN_TEST_SOURCES)
  # The launcher's string table, so that failures raised in-process read their texts.
  add_executable(kiv_win_tests ${KIV_WIN_TEST_SOURCES} ${KIV_TEST_SUPPORT_SOURCES}
                               launcher/resources/console.rc)
  target_link_libraries(kiv_win_tests PRIVATE kivcore minizip_writer gtest_main advapi32 wininet)
  target_include_directories(kiv_win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_dependencies(kiv_win_tests kiv_fixtures)
  kiv_add_suites(win kiv_win_tests SOURCES ${KIV_WIN_TEST_SOURCES} PROPERTIES ${KIV_STATE_LOCK})
endif()

if(KIV_E2E_TEST_SOURCES)
  add_executable(kiv_e2e_tests ${KIV_E2E_TEST_SOURCES} ${KIV_TEST_SUPPORT_SOURCES})
  target_link_libraries(kiv_e2e_tests PRIVATE kivcore minizip_writer gtest_main advapi32)
  target_include_directories(kiv_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_dependencies(kiv_e2e_tests console Corvane kiv_fixtures)
  kiv_add_suites(e2e kiv_e2e_tests SOURCES ${KIV_E2E_TEST_SOURCES} PROPERTIES ${KIV_STATE_LOCK})
  if(TEST e2e.FrenchMessages)
    set_tests_properties(e2e.FrenchMessages PROPERTIES ENVIRONMENT KIV_TEST_LOCALE=fr_FR.UTF-8)
  endif()
endif()

# Loopback HTTP and FTP servers for the download tests, started once per run.
set(KIV_SERVERS_DIR ${CMAKE_BINARY_DIR}/servers)
set(KIV_SERVERS_SCRIPT ${CMAKE_SOURCE_DIR}/tests/support/servers/download_servers.sh)
add_test(NAME servers.start COMMAND ${KIV_SERVERS_SCRIPT} start ${KIV_SERVERS_DIR})
add_test(NAME servers.stop COMMAND ${KIV_SERVERS_SCRIPT} stop ${KIV_SERVERS_DIR})
set_tests_properties(servers.start PROPERTIES FIXTURES_SETUP download_servers)
set_tests_properties(servers.stop PROPERTIES FIXTURES_CLEANUP download_servers)
string(REPLACE "/" "\\" KIV_SERVERS_WINE_PATH "Z:${KIV_SERVERS_DIR}")
foreach(test win.VmPackDownloaderTest e2e.InstallerDownload)
  if(TEST ${test})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED download_servers
                         ENVIRONMENT "KIV_TEST_SERVERS=${KIV_SERVERS_WINE_PATH}")
  endif()
endforeach()

if(KIV_HOST_UNIT_TESTS)
  kiv_add_suites(host "" SOURCES ${KIV_UNIT_TEST_SOURCES} COMMAND ${KIV_HOST_UNIT_TESTS})
endif()
