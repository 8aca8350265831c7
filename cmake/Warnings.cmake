# Compiler warnings for every target of the project, and the export rules of the plug-in library.
add_library(zelmor_warnings INTERFACE)
target_compile_options(zelmor_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wold-style-cast
  -Wnon-virtual-dtor -Woverloaded-virtual -Wdouble-promotion -Wnull-dereference)
if(ZELMOR_WERROR)
  target_compile_options(zelmor_warnings INTERFACE -Werror)
endif()

# Hides every symbol of the plug-in library except VSTPluginMain and main: a host may have loaded
# other libraries that define the same names, and main is the same function as VSTPluginMain.
# ELF: hidden visibility, a version script and a linker-defined alias; Windows: a module definition file.
function(zelmor_export_entry_points_only target)
  if(WIN32)
    set(exports "${PROJECT_SOURCE_DIR}/cmake/entry_points.def")
    target_sources(${target} PRIVATE "${exports}")
    target_compile_definitions(${target} PRIVATE ZELMOR_EXPORT=)
  else()
    set(exports "${PROJECT_SOURCE_DIR}/cmake/entry_points.map")
    target_link_options(${target} PRIVATE "LINKER:--version-script=${exports}" "LINKER:--defsym=main=VSTPluginMain")
    target_compile_definitions(${target} PRIVATE "ZELMOR_EXPORT=__attribute__((visibility(\"default\")))")
  endif()
  target_link_options(${target} PRIVATE "LINKER:--no-undefined")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${exports}")
endfunction()
