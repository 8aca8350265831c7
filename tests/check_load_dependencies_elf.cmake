# Fails unless the ELF plug-in library needs, at load time, only the C library (with its loader), the
# maths library, FreeType and fontconfig: no X library (opened when an editor opens), no C++ or GCC
# run-time, no libpng.
execute_process(COMMAND readelf -d ${LIBRARY} OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" entries "${dynamic}")
set(needed "")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "Shared library: \\[([^]]+)\\]" "\\1" name "${entry}")
  list(APPEND needed ${name})
endforeach()
list(SORT needed)
# The static C++ run-time asks the dynamic loader for its thread-local storage.
set(allowed ld-linux-x86-64.so.2 libc.so.6 libfontconfig.so.1 libfreetype.so.6 libm.so.6)
if(NOT needed STREQUAL "${allowed}")
  message(FATAL_ERROR "${LIBRARY} needs: ${needed} (expected ${allowed}); "
                      "run scripts/linux-deps.sh for the position-independent libpng and zlib")
endif()
message(STATUS "needed at load time: ${needed}")
