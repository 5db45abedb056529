# TinyXML from Debian's source package, fetched by scripts/fetch-tinyxml.
set(TINYXML_DIR ${CMAKE_SOURCE_DIR}/third_party/tinyxml)
if(NOT EXISTS ${TINYXML_DIR}/tinyxml.cpp)
  message(FATAL_ERROR "TinyXML sources missing in ${TINYXML_DIR}: run scripts/fetch-tinyxml")
endif()
add_library(tinyxml STATIC
  ${TINYXML_DIR}/tinyxml.cpp
  ${TINYXML_DIR}/tinyxmlparser.cpp
  ${TINYXML_DIR}/tinyxmlerror.cpp
  ${TINYXML_DIR}/tinystr.cpp)
target_include_directories(tinyxml SYSTEM PUBLIC ${TINYXML_DIR})
target_compile_options(tinyxml PRIVATE -w)
