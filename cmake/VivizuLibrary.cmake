# vivizu_library(NAME DIR [QT]) builds every .cpp in DIR into a static
# library; a folder with no sources yet becomes an interface library so
# that targets linking it still configure.
function(vivizu_library name dir)
  file(GLOB _sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(_sources)
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

# vivizu_link(NAME deps...) links deps publicly whatever kind NAME is.
function(vivizu_link name)
  get_target_property(_type ${name} TYPE)
  if(_type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()
