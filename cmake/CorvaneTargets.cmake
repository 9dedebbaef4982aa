# Every source folder is one static library made of the .cpp files it holds (and, with
# RECURSE, those of its sub-folders), so adding a file needs no edit here.
#
#   corvane_library(NAME name DIR folder [RECURSE] [EXCLUDE sub ...] [DEPS target ...]
#                   [PRIVATE_DEPS target ...])
#
# DEPS are linked PUBLIC (their headers are part of this library's), PRIVATE_DEPS privately
# (include paths and defines stay inside this library).
function(corvane_library)
  cmake_parse_arguments(ARG "RECURSE" "NAME;DIR" "EXCLUDE;DEPS;PRIVATE_DEPS" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp")
  else()
    file(GLOB sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp")
  endif()
  foreach(sub IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "^${ARG_DIR}/${sub}/")
  endforeach()
  add_library(${ARG_NAME} STATIC ${sources})
  target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# One GoogleTest executable per test folder; every test runs in a process of its own
# (gtest_discover_tests), so each starts with fresh process-wide singletons.
#
#   corvane_test(NAME name DIR folder [NO_MAIN] [DEPS target ...] [ENV VAR=value ...])
#
# DEPS name the system libraries under test and the platform backends the program runs on.
# NO_MAIN: the folder brings its own main() (the tests' main, which installs the simulated
# session, is linked otherwise).
function(corvane_test)
  cmake_parse_arguments(ARG "NO_MAIN" "NAME;DIR" "DEPS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${ARG_NAME} ${sources})
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} corvane_testsupport GTest::gmock GTest::gtest)
  if(NOT ARG_NO_MAIN)
    target_link_libraries(${ARG_NAME} PRIVATE corvane_testmain)
  endif()
  gtest_discover_tests(${ARG_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${ARG_ENV}")
endfunction()
