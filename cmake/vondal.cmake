# vondal_library(<name> [DEPS <targets>...])
#
# One static library from the *.cpp files of the current folder (not its subfolders), and, when
# tests are on, one GoogleTest binary from its *_test.cpp files, registered with CTest.
# Files named main.cpp are left out: they belong to the folder's executable.
function(vondal_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;TEST_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "(_test|/main)\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()  # headers only, so far
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()

  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(VONDAL_TESTS AND tests)
    add_executable(${name}_test ${tests})
    set_target_properties(${name}_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
    target_link_libraries(${name}_test PRIVATE ${name} ${ARG_TEST_DEPS} GTest::gmock GTest::gtest_main)
    target_compile_definitions(${name}_test PRIVATE
      VONDAL_SOURCE_DIR="${PROJECT_SOURCE_DIR}" VONDAL_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
    gtest_discover_tests(${name}_test DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "VONDAL_HOME=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  endif()
endfunction()

# vondal_all_libraries(<var>): every library of the system defined so far, top layer first, for
# the programs that link the whole system (fuzz targets, benchmarks).
function(vondal_all_libraries var)
  set(libraries)
  foreach(lib vondal_scroll vondal_vonrix vondal_app vondal_output vondal_editor vondal_macro vondal_condition
              vondal_citylist vondal_station vondal_color vondal_console vondal_adif vondal_log vondal_text)
    if(TARGET ${lib})
      list(APPEND libraries ${lib})
    endif()
  endforeach()
  set(${var} ${libraries} PARENT_SCOPE)
endfunction()
