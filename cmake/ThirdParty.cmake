# Third-party code: Debian's sources unpacked by scripts/setup.sh, built here for the target.
set(WXLM_THIRD_PARTY ${PROJECT_SOURCE_DIR}/third_party)

foreach(_dir jsoncpp tinyxml)
  if(NOT EXISTS ${WXLM_THIRD_PARTY}/${_dir}/.unpacked)
    message(FATAL_ERROR "third_party/${_dir} is missing: run scripts/setup.sh (make does it)")
  endif()
endforeach()

# jsoncpp
set(_json ${WXLM_THIRD_PARTY}/jsoncpp)
add_library(jsoncpp STATIC
  ${_json}/src/lib_json/json_reader.cpp
  ${_json}/src/lib_json/json_value.cpp
  ${_json}/src/lib_json/json_writer.cpp)
target_include_directories(jsoncpp SYSTEM PUBLIC ${_json}/include)
target_compile_options(jsoncpp PRIVATE -w)

# TinyXML (Debian's patches force TIXML_USE_STL; users must see it too)
set(_txml ${WXLM_THIRD_PARTY}/tinyxml)
add_library(tinyxml STATIC
  ${_txml}/tinyxml.cpp ${_txml}/tinystr.cpp
  ${_txml}/tinyxmlerror.cpp ${_txml}/tinyxmlparser.cpp)
target_include_directories(tinyxml SYSTEM PUBLIC ${_txml})
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_compile_options(tinyxml PRIVATE -w)

# zlib from libz-mingw-w64-dev, linked statically
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED GLOBAL)

# stb_image header from libstb-dev (compiled once, in the framework)
add_library(stb INTERFACE)
target_include_directories(stb SYSTEM INTERFACE /usr/include/stb)

# GoogleTest / GoogleMock for the target
if(WXLM_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
