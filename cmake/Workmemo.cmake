# Helpers shared by every folder's CMakeLists.txt.

# The program's own modules hold their Chinese literals as GB18030 bytes at run time;
# only src/platform speaks UTF-8 and converts at its boundaries.
function(workmemo_gb18030 target)
  target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GB18030)
endfunction()

# workmemo_library(name [GB18030] SOURCES ... [DEPS ...])
# A static library of one folder; the folder's parent (src/) is the include root.
function(workmemo_library name)
  cmake_parse_arguments(ARG "GB18030" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  if(ARG_GB18030)
    workmemo_gb18030(${name})
  endif()
endfunction()

# workmemo_test(name [GB18030] [TIMEZONES] [OWN_MAIN] SOURCES ... [DEPS ...])
# One test executable of one module; each GoogleTest case becomes a CTest test.
# TIMEZONES runs the whole executable again under two time zones far apart.
# OWN_MAIN: the sources bring main() (tests that need an application object link
# test_support_qt instead, which has one).
function(workmemo_test name)
  cmake_parse_arguments(ARG "GB18030;TIMEZONES;OWN_MAIN" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE test_support ${ARG_DEPS} GTest::gtest GTest::gmock)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(ARG_GB18030)
    workmemo_gb18030(${name})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120)
  if(ARG_TIMEZONES)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      TEST_PREFIX "Shanghai." PROPERTIES ENVIRONMENT "TZ=Asia/Shanghai" TIMEOUT 120)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      TEST_PREFIX "NewYork." PROPERTIES ENVIRONMENT "TZ=America/New_York" TIMEOUT 120)
  endif()
endfunction()
