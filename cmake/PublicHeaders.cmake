# A library's public headers are the headers at the top of its folder; its
# subfolders are its own business. Each library gets a folder in the build
# tree that holds links to just those headers, under the include strings the
# sources use ("core/X.h"), and that folder is the only include directory a
# user of the library gets. The source tree itself is on nobody's include
# path, so a file can reach only what the libraries it links export.
#
#   tessaro_public_headers(target folder [PRIVATE] [HEADERS file...])
#
# folder is relative to the source root; HEADERS (also relative to it) names
# the exported headers instead of the folder's top-level ones. PRIVATE keeps
# the headers to the target itself (an executable's own headers).
function(tessaro_public_headers target folder)
  cmake_parse_arguments(arg "PRIVATE" "" "HEADERS" ${ARGN})
  if(arg_HEADERS)
    set(headers ${arg_HEADERS})
  else()
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
      ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  endif()
  set(stage ${PROJECT_BINARY_DIR}/include/${target})
  # A header that was removed or moved loses its link too; files generated
  # into the folder stay.
  file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)
  foreach(link IN LISTS staged)
    if(IS_SYMLINK ${stage}/${link} AND NOT link IN_LIST headers)
      file(REMOVE ${stage}/${link})
    endif()
  endforeach()
  foreach(header IN LISTS headers)
    get_filename_component(dir ${stage}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${header} ${stage}/${header} SYMBOLIC)
  endforeach()
  if(arg_PRIVATE)
    target_include_directories(${target} PRIVATE ${stage})
  else()
    target_include_directories(${target} PUBLIC ${stage})
  endif()
endfunction()
