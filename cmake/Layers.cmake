# Helpers shared by the layer libraries, tests and benchmarks.

# tesserine_layer(NAME DIR [DEPS ...]): a static library of every .cpp under
# DIR (recursively; platform backends are excluded and added by the layer
# itself). Headers are included by layer path from the repository root. A
# folder without code is a configure error rather than a missing library.
function(tesserine_layer name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/platform/(x11|virtual)/")
  if(NOT sources)
    message(FATAL_ERROR "tesserine_layer(${name}): no .cpp file under ${dir}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
  set_property(GLOBAL APPEND PROPERTY TESSERINE_LIBRARIES ${name})
endfunction()

# tesserine_test(NAME DIR LIBS...): one GoogleTest program of every .cpp in DIR.
function(tesserine_test name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    message(FATAL_ERROR "tesserine_test(${name}): no .cpp file under ${dir}")
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    TESSERINE_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
endfunction()
