# Third-party code: Debian's sources unpacked by scripts/setup.sh, built here for the target.
set(WXLM_THIRD_PARTY ${PROJECT_SOURCE_DIR}/third_party)

foreach(_dir jsoncpp tinyxml2)
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
# Built without its stream readers and writers: they pull the whole of libstdc++'s locale and
# iostream machinery into the program (cmake/patches/jsoncpp-without-streams.patch).
target_compile_definitions(jsoncpp PUBLIC JSONCPP_NO_STREAMS)

# TinyXML-2
set(_txml2 ${WXLM_THIRD_PARTY}/tinyxml2)
add_library(tinyxml2 STATIC ${_txml2}/tinyxml2.cpp)
target_include_directories(tinyxml2 SYSTEM PUBLIC ${_txml2})
target_compile_options(tinyxml2 PRIVATE -w)

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
