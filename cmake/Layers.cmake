# Each library of a layer sees, through its include directory, only the folders (or single headers)
# it may use: an include against the direction of the layers then fails to build.
#
# zelmor_layer_includes(target path...) gives target a PUBLIC include directory of its own in which
# each path (a folder or a header, relative to the source root) appears under its own name.
function(zelmor_layer_includes target)
  set(root ${PROJECT_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${root})
  foreach(path IN LISTS ARGN)
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
