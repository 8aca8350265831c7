# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX thread model); programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-ranlib CACHE FILEPATH "")

# Libraries built for this target from Debian's source packages (scripts/windows-deps.sh).
if(NOT ZELMOR_WINDOWS_DEPS)
  get_filename_component(ZELMOR_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../../build/deps/windows/prefix" ABSOLUTE)
endif()
set(ZELMOR_WINDOWS_DEPS "${ZELMOR_WINDOWS_DEPS}" CACHE PATH "Prefix of the libraries built for Windows")

set(CMAKE_FIND_ROOT_PATH /usr/${triple} "${ZELMOR_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${ZELMOR_WINDOWS_DEPS}/lib/pkgconfig:/usr/${triple}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# Only static archives, so that nothing but system libraries is left to import at run time.
set(ZLIB_USE_STATIC_LIBS ON)

# Test programs and discovery run through Wine; scripts/wine-session.sh prepares its prefix and display.
get_filename_component(zelmor_wine_run "${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${zelmor_wine_run}")

# The C++ run-time, libgcc and winpthread go into every program and library: a plug-in cannot
# expect their DLLs beside the host, and another plug-in may bring different versions of them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
# Shipped binaries carry no symbol tables (they would triple the plug-in's size).
set(CMAKE_MODULE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
