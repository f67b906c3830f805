# Native build of the pure core under the sanitizers.
set(KIV_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g ${KIV_SANITIZE})
add_link_options(${KIV_SANITIZE})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${KIV_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(kivpure STATIC ${KIV_PURE_SOURCES})
target_include_directories(kivpure PUBLIC ${CMAKE_SOURCE_DIR})

add_executable(kiv_unit_tests ${KIV_UNIT_TEST_SOURCES})
target_link_libraries(kiv_unit_tests PRIVATE kivpure gtest_main)
kiv_add_suites(host kiv_unit_tests SOURCES ${KIV_UNIT_TEST_SOURCES})
