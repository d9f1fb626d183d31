# The product's layers, each one static library: platform <- db values <- db firebird <- update
# <- app <- front ends. Sources include by path from the checkout's top ("db/values/Variant.h"),
# but no target sees the top itself: each layer gets an include root of its own in the build
# folder that links only its own folder and those of the layers below. An include against the
# direction is then a file the compiler cannot find.
#
# A folder's internal/ part is its own layer's alone. FOLDERS ends with the layer's own folder;
# a layer whose folder has an internal/ part shows what builds on it a second root without it.
#
# The Firebird C header (ibase.h) is used by db/firebird/internal and added to the layer flagged
# CLIENT_HEADER alone. A cross build has the header nowhere else; a native one finds it on the
# system's path, so every other layer finds a stand-in first that stops the build with a message.
set(ZAV_WITHOUT_CLIENT_HEADER ${CMAKE_BINARY_DIR}/layers/without-client-header)
file(CONFIGURE OUTPUT ${ZAV_WITHOUT_CLIENT_HEADER}/ibase.h CONTENT
  "#error \"ibase.h is db/firebird/internal's: use the database layer's public headers\"\n")

# Links the folders into root, each without its internal/ part unless it is the folder own.
function(zav_link_folders root own)
  # Made afresh: a link that a moved folder has left must not stay reachable.
  file(REMOVE_RECURSE ${root})
  foreach(folder ${ARGN})
    set(links ${folder})
    if(NOT folder STREQUAL own AND IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${folder}/internal)
      file(GLOB links CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR}
           ${CMAKE_SOURCE_DIR}/${folder}/*)
      list(REMOVE_ITEM links ${folder}/internal)
    endif()
    foreach(link ${links})
      get_filename_component(parent ${root}/${link} DIRECTORY)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${link} ${root}/${link} SYMBOLIC)
    endforeach()
  endforeach()
endfunction()

function(zav_layer target)
  cmake_parse_arguments(PARSE_ARGV 1 layer "CLIENT_HEADER" "" "FOLDERS;SOURCES;LINKS")
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  list(GET layer_FOLDERS -1 own)
  zav_link_folders(${root} ${own} ${layer_FOLDERS})
  add_library(${target} STATIC ${layer_SOURCES})
  target_include_directories(${target} PRIVATE ${root})
  if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/${own}/internal)
    zav_link_folders(${root}-public "" ${layer_FOLDERS})
    target_include_directories(${target} INTERFACE ${root}-public)
  else()
    target_include_directories(${target} INTERFACE ${root})
  endif()
  target_link_libraries(${target} PUBLIC ${layer_LINKS})
  if(NOT layer_CLIENT_HEADER)
    target_include_directories(${target} PRIVATE ${ZAV_WITHOUT_CLIENT_HEADER})
  endif()
endfunction()
