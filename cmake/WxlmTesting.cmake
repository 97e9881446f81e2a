# Tests are target executables run under Wine (CMAKE_CROSSCOMPILING_EMULATOR).
include(GoogleTest)

# wxlm_test_dir(<name> <folder> [LIBS ...] [SERIAL])
# One GoogleTest executable from every *.cpp in <folder>; every test case
# becomes a CTest test, discovered when CTest runs (inside the display the
# test command provides). SERIAL: the cases touch shared per-user state of
# the prefix (registry, local application data, desktop) and run alone.
function(wxlm_test_dir name folder)
  cmake_parse_arguments(T "SERIAL" "" "LIBS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT _sources)
    return()
  endif()
  add_executable(${name} ${_sources})
  target_link_libraries(${name} PRIVATE ${T_LIBS} wxlm_test_support GTest::gmock GTest::gtest_main)
  wxlm_warnings(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set(_props LABELS ${name} TIMEOUT 120)
  if(T_SERIAL)
    list(APPEND _props RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES ${_props})
  add_dependencies(wxlm_tests ${name})
endfunction()

# wxlm_module_def(<out var> <.def file>)
# The test modules' .def files name the i686 stdcall symbols ("DllGetClassObject@12"); x86_64
# has one calling convention and undecorated names, so there the decorations are dropped.
function(wxlm_module_def out def)
  get_filename_component(_def ${def} ABSOLUTE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${out} ${_def} PARENT_SCOPE)
    return()
  endif()
  file(READ ${_def} _text)
  string(REGEX REPLACE "= *[A-Za-z_][A-Za-z0-9_]*@[0-9]+" "" _text "${_text}")
  string(REGEX REPLACE "@[0-9]+" "" _text "${_text}")
  get_filename_component(_name ${_def} NAME)
  set(_out ${CMAKE_CURRENT_BINARY_DIR}/x86_64-${_name})
  file(WRITE ${_out} "${_text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_def})
  set(${out} ${_out} PARENT_SCOPE)
endfunction()
