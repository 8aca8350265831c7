# Compiler warnings for every target of the project, and the export rules of the plug-in library.
add_library(zelmor_warnings INTERFACE)
target_compile_options(zelmor_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wold-style-cast
  -Wnon-virtual-dtor -Woverloaded-virtual -Wdouble-promotion -Wnull-dereference)
if(ZELMOR_WERROR)
  target_compile_options(zelmor_warnings INTERFACE -Werror)
endif()

# Hides every symbol of a shared library except VSTPluginMain and main: a host may have
# loaded other libraries that define the same names.
function(zelmor_export_entry_points_only target)
  set(map "${PROJECT_SOURCE_DIR}/cmake/entry_points.map")
  target_link_options(${target} PRIVATE "LINKER:--version-script=${map}" "LINKER:--no-undefined")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${map}")
endfunction()
