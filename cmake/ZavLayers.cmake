# The product's layers, each one static library: platform <- db values <- db firebird <- update
# <- app <- front ends. Sources include by path from the checkout's top ("db/values/Variant.h"),
# but no target sees the top itself: each layer gets an include root of its own in the build
# folder that links only its own folder and those of the layers below. An include against the
# direction is then a file the compiler cannot find.
#
# The Firebird C header (ibase.h) is the layer's flagged CLIENT_HEADER alone, which adds it
# privately: its public headers wrap the client's types. A cross build has the header only there;
# a native one finds it in /usr/include too, so the other layers compile with its include guard
# set, and a use of the client's names fails to build in them as well.
function(zav_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 layer "CLIENT_HEADER" "" "FOLDERS;SOURCES;LINKS")
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  foreach(folder ${layer_FOLDERS})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  add_library(${target} STATIC ${layer_SOURCES})
  target_include_directories(${target} PUBLIC ${root})
  target_link_libraries(${target} PUBLIC ${layer_LINKS})
  if(NOT layer_CLIENT_HEADER)
    target_compile_definitions(${target} PRIVATE JRD_IBASE_H)
  endif()
endfunction()
