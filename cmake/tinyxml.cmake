# TinyXML from Debian's source package, fetched by scripts/fetch-tinyxml.
set(TINYXML_DIR ${CMAKE_SOURCE_DIR}/third_party/tinyxml)
if(NOT EXISTS ${TINYXML_DIR}/tinyxml.cpp)
  message(FATAL_ERROR "TinyXML sources missing in ${TINYXML_DIR}: run scripts/fetch-tinyxml")
endif()

# Debian's patch makes tinyxml.h force TIXML_USE_STL, which includes <iostream>
# in every unit using it and links the stream and locale code (about 0.7 MB of
# the installer). We use only the char* interface, so the library is built from
# a copy whose header leaves the STL switch off. The fetched files stay as they
# came.
set(TINYXML_BUILD_DIR ${CMAKE_BINARY_DIR}/tinyxml)
foreach(name tinyxml.cpp tinyxmlparser.cpp tinyxmlerror.cpp tinystr.cpp tinystr.h)
  configure_file(${TINYXML_DIR}/${name} ${TINYXML_BUILD_DIR}/${name} COPYONLY)
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TINYXML_DIR}/tinyxml.h)
file(READ ${TINYXML_DIR}/tinyxml.h tinyxml_header)
string(REGEX REPLACE "#ifndef TIXML_USE_STL[ \t\r\n]+#define TIXML_USE_STL[ \t\r\n]+#endif" ""
       tinyxml_header "${tinyxml_header}")
if(tinyxml_header MATCHES "#define TIXML_USE_STL")
  message(FATAL_ERROR "${TINYXML_DIR}/tinyxml.h still turns on TIXML_USE_STL")
endif()
file(WRITE ${TINYXML_BUILD_DIR}/tinyxml.h.new "${tinyxml_header}")
configure_file(${TINYXML_BUILD_DIR}/tinyxml.h.new ${TINYXML_BUILD_DIR}/tinyxml.h COPYONLY)

add_library(tinyxml STATIC
  ${TINYXML_BUILD_DIR}/tinyxml.cpp
  ${TINYXML_BUILD_DIR}/tinyxmlparser.cpp
  ${TINYXML_BUILD_DIR}/tinyxmlerror.cpp
  ${TINYXML_BUILD_DIR}/tinystr.cpp)
target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_BUILD_DIR})
target_compile_options(tinyxml PRIVATE -w ${VELORA_PRODUCT_OPTIONS})
# TinyXML includes only C headers, so its sscanf and fprintf can be the system
# C runtime's; MinGW's own (that libstdc++ turns on) would add about 60 KB.
target_compile_definitions(tinyxml PRIVATE __USE_MINGW_ANSI_STDIO=0)
