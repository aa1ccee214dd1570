# pelmora_first_when_installing(<properties variable> <properties and locks>...)
# The tests that hold the installation lock run one after another, the longest chain of the run:
# a high cost starts them first (CTest runs the costliest first until it has timings of its own),
# so that the other tests fill the remaining slots beside them instead of leaving them to run
# alone at the end.
function(pelmora_first_when_installing variable)
  if("installation" IN_LIST ARGN)
    set(${variable} ${${variable}} COST 1000 PARENT_SCOPE)
  endif()
endfunction()

# pelmora_add_test_program(<name> <source>...
#                          [LIBRARIES <library>...]            linked besides GoogleTest
#                          [DEPENDS <target>...]               built before the program runs
#                          [PROPERTIES <property> <value>...]  of every test the program holds
#                          [LOCKS <resource>...]               held by every test the program holds
#                          [REGISTERED_BY_CALLER])             the caller adds its tests itself
# A test program: the project's warnings, the source tree as the root of its includes,
# GoogleTest with its main, and one CTest test per test case, each run on its own.
function(pelmora_add_test_program name)
  cmake_parse_arguments(PARSE_ARGV 1 test "REGISTERED_BY_CALLER" "" "LIBRARIES;DEPENDS;PROPERTIES;LOCKS")
  add_executable(${name} ${test_UNPARSED_ARGUMENTS})
  # GCC 12 at -O3 sees overlaps that are not there in std::string copies of the tests' own
  # (a known false -Wrestrict), so test programs go without that warning.
  target_compile_options(${name} PRIVATE ${PELMORA_WARNINGS} -Wno-restrict)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${test_LIBRARIES} GTest::gtest_main GTest::gmock)
  if(test_DEPENDS)
    add_dependencies(${name} ${test_DEPENDS})
  endif()
  if(test_REGISTERED_BY_CALLER)
    return()
  endif()
  pelmora_first_when_installing(test_PROPERTIES ${test_PROPERTIES} ${test_LOCKS})
  if(test_PROPERTIES)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_LIST ${name}_list
                         PROPERTIES ${test_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_LIST ${name}_list)
  endif()
  # The discovery flattens a property's list into further property names: the locks are set
  # once the tests are known.
  if(test_LOCKS)
    set(locks_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake)
    file(WRITE ${locks_file}
         "set_tests_properties(\${${name}_list} PROPERTIES RESOURCE_LOCK \"${test_LOCKS}\")\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${locks_file})
  endif()
endfunction()

# pelmora_add_small_drive(<fixture> <drive letter> <tmpfs options> [<folder>...])
# A small file system of its own mapped as that drive of the test prefix while the tests that
# require the fixture run (FIXTURES_REQUIRED <fixture>); they skip themselves without it. The
# folders are made on it before a read-only one ("ro" among the options) is made so.
function(pelmora_add_small_drive fixture letter options)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${fixture})
  set(script ${CMAKE_SOURCE_DIR}/tests/driver/small-drive.sh)
  add_test(NAME ${fixture}_setup COMMAND ${script} setup ${PELMORA_WINE_PREFIX} ${folder} ${letter} ${options} ${ARGN})
  add_test(NAME ${fixture}_cleanup COMMAND ${script} cleanup ${PELMORA_WINE_PREFIX} ${folder} ${letter})
  set_tests_properties(${fixture}_setup PROPERTIES FIXTURES_SETUP ${fixture})
  set_tests_properties(${fixture}_cleanup PROPERTIES FIXTURES_CLEANUP ${fixture})
endfunction()

# pelmora_add_scaled_tests(<program> <gtest filter> SCALES <dpi>... [PROPERTIES <property> <value>...])
# Runs the program's tests that the filter selects once more at each display scale (dots per
# inch: 120 is 125 %, 144 is 150 %, 192 is 200 %), each in the test prefix of that scale, which a
# fixture makes ready. The tests are named with the scale after them ("….At144Dpi") and read it
# from the environment variable PELMORA_TEST_DPI.
function(pelmora_add_scaled_tests program filter)
  cmake_parse_arguments(PARSE_ARGV 2 scaled "" "" "SCALES;PROPERTIES")
  pelmora_first_when_installing(scaled_PROPERTIES ${scaled_PROPERTIES})
  foreach(dpi IN LISTS scaled_SCALES)
    set(fixture pelmora_scale_${dpi})
    get_property(defined GLOBAL PROPERTY ${fixture}_defined)
    if(NOT defined)
      set_property(GLOBAL PROPERTY ${fixture}_defined TRUE)
      set(script ${CMAKE_SOURCE_DIR}/tests/driver/test-prefix.sh)
      add_test(NAME ${fixture}_setup COMMAND ${script} setup ${PELMORA_WINE_PREFIX} ${dpi} ${CMAKE_BINARY_DIR})
      add_test(NAME ${fixture}_cleanup COMMAND ${script} cleanup ${PELMORA_WINE_PREFIX} ${dpi})
      set_tests_properties(${fixture}_setup PROPERTIES FIXTURES_SETUP ${fixture})
      set_tests_properties(${fixture}_cleanup PROPERTIES FIXTURES_CLEANUP ${fixture})
    endif()
    gtest_discover_tests(${program} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         TEST_FILTER ${filter} TEST_SUFFIX .At${dpi}Dpi
                         PROPERTIES ENVIRONMENT PELMORA_TEST_DPI=${dpi} FIXTURES_REQUIRED ${fixture}
                                    ${scaled_PROPERTIES})
  endforeach()
endfunction()
