# zelmor-host edit as a user runs it: included by tests/CMakeLists.txt it adds the cases, and run
# with -P it is one case's check: the exit status, the printed lines and the saved picture.
if(CMAKE_SCRIPT_MODE_FILE)
  # Variables: COMMAND, STATUS, STDOUT and STDERR (regular expressions), PICTURE with WIDTH and
  # HEIGHT (a picture that must be saved), ABSENT (a file that must not be left, nor anything beside
  # it that starts with its name), NEEDS_DISPLAY (on Linux: skip without an X display).
  if(NEEDS_DISPLAY AND "$ENV{DISPLAY}" STREQUAL "")
    message("skipped: no X display to open the editor on (DISPLAY is not set)")
    return()
  endif()
  # The run and its status, printed lines and left-over files are checked as for every command.
  set(PRESENT ${PICTURE})
  include(${CMAKE_CURRENT_LIST_DIR}/cli_case.cmake)
  if(PICTURE)
    get_filename_component(directory "${PICTURE}" DIRECTORY)
    get_filename_component(name "${PICTURE}" NAME)
    file(GLOB leftovers "${directory}/${name}.*")
    if(leftovers)
      message(FATAL_ERROR "left behind beside the picture: ${leftovers}")
    endif()
    # The signature, then the header chunk: width and height (4 bytes each), bit depth, colour type.
    file(READ "${PICTURE}" header OFFSET 0 LIMIT 26 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 24 8 chunk)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452")
      message(FATAL_ERROR "${PICTURE} is not a PNG file: ${header}")
    endif()
    string(SUBSTRING "${header}" 32 8 width)
    string(SUBSTRING "${header}" 40 8 height)
    string(SUBSTRING "${header}" 48 4 depth_and_colour)
    math(EXPR width "0x${width}")
    math(EXPR height "0x${height}")
    if(NOT width EQUAL WIDTH OR NOT height EQUAL HEIGHT)
      message(FATAL_ERROR "the picture is ${width} x ${height}, expected ${WIDTH} x ${HEIGHT}")
    endif()
    if(NOT depth_and_colour STREQUAL "0802")
      message(FATAL_ERROR "the picture is not 8-bit RGB (bit depth and colour type ${depth_and_colour})")
    endif()
    # A window of one colour (the editor never drawn, or pixels read from the wrong place) compresses to
    # under a kilobyte; the editor's panel takes tens of kilobytes.
    file(SIZE "${PICTURE}" size)
    if(size LESS 10000)
      message(FATAL_ERROR "the picture is ${size} bytes: the editor's window looks blank")
    endif()
  endif()
  return()
endif()

# name; WINDOW when the case opens the editor's window; what to check (the variables above) as -D arguments.
function(cli_edit_case name window)
  add_test(NAME cli.${name} COMMAND ${CMAKE_COMMAND} ${ARGN} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE})
  if(window STREQUAL "WINDOW")
    # One window-opening test at a time: under Wine two of them take the desktop's focus from each other.
    set_tests_properties(cli.${name} PROPERTIES RESOURCE_LOCK display TIMEOUT 120
                         SKIP_REGULAR_EXPRESSION "skipped: no X display")
    if(ZELMOR_SANITIZER MATCHES "address")
      # The host unloads the plug-in, and with it fontconfig and FreeType, whose caches then look
      # leaked; loaded first, they stay for the process as in a host that uses them too.
      set_tests_properties(cli.${name} PROPERTIES ENVIRONMENT
        "LD_PRELOAD=libfontconfig.so.1 libfreetype.so.6;ASAN_OPTIONS=verify_asan_link_order=0")
    endif()
  endif()
endfunction()
# The Windows build's display is Wine's business; on Linux a developer may have none.
if(WIN32)
  set(needs_display OFF)
else()
  set(needs_display ON)
endif()

cli_edit_case(edit_screenshot WINDOW "-DCOMMAND=${host} edit ${plugin} --screenshot ${work}/editor.png" -DSTATUS=0
              "-DSTDOUT=Saved the editor's window to .*editor[.]png [(]396 x 550[)]"
              -DPICTURE=${work}/editor.png -DWIDTH=396 -DHEIGHT=550 -DNEEDS_DISPLAY=${needs_display})
# SETTINGS come before the editor; a picture that cannot be written leaves nothing behind.
cli_edit_case(edit_unwritable_screenshot WINDOW
              "-DCOMMAND=${host} edit ${plugin} --mode band-pass --lower 1000 --screenshot ${work}/no/such/dir/e.png"
              -DSTATUS=1 "-DSTDERR=cannot write" -DABSENT=${work}/no -DNEEDS_DISPLAY=${needs_display})
cli_edit_case(edit_missing_plugin NO_WINDOW "-DCOMMAND=${host} edit ${work}/none.so" -DSTATUS=1
              "-DSTDERR=cannot load")
cli_edit_case(edit_without_plugin NO_WINDOW "-DCOMMAND=${host} edit" -DSTATUS=2
              "-DSTDERR=edit needs exactly one argument")
