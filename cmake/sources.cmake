# Source files are found by folder. A file whose name ends in "Win32.cpp" uses
# the Windows API and is built only for Windows; every other file is pure and
# also builds natively. Program entry points end in "MainWin32.cpp".
set(KIV_MODULE_DIRS launcher vm launch installer service platform)

set(KIV_ALL_SOURCES "")
foreach(dir ${KIV_MODULE_DIRS})
  file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND KIV_ALL_SOURCES ${found})
endforeach()
list(FILTER KIV_ALL_SOURCES EXCLUDE REGEX "MainWin32\\.cpp$")

set(KIV_PURE_SOURCES ${KIV_ALL_SOURCES})
list(FILTER KIV_PURE_SOURCES EXCLUDE REGEX "Win32\\.cpp$")

file(GLOB KIV_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*Test.cpp)
file(GLOB KIV_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*Test.cpp)
file(GLOB KIV_E2E_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*Test.cpp)
file(GLOB KIV_TEST_SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)

# One CTest entry per GoogleTest suite: TEST(Suite, ...), TEST_F, TEST_P.
function(kiv_add_suites prefix command_target)
  cmake_parse_arguments(ARG "" "" "SOURCES;PROPERTIES;COMMAND" ${ARGN})
  set(suites "")
  foreach(source ${ARG_SOURCES})
    file(STRINGS ${source} lines REGEX "^(TEST|TEST_F|TEST_P|TYPED_TEST)\\(")
    foreach(line ${lines})
      string(REGEX REPLACE "^[A-Z_]+\\(([A-Za-z0-9_]+).*" "\\1" suite "${line}")
      list(APPEND suites ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  if(ARG_COMMAND)
    set(command ${ARG_COMMAND})
  else()
    set(command ${command_target})
  endif()
  foreach(suite ${suites})
    add_test(NAME ${prefix}.${suite}
             COMMAND ${command} --gtest_filter=${suite}.*:*/${suite}.*)
    if(ARG_PROPERTIES)
      set_tests_properties(${prefix}.${suite} PROPERTIES ${ARG_PROPERTIES})
    endif()
  endforeach()
endfunction()
