# The validator: on our plug-in, on a gain plug-in that passes everything, and on that plug-in with
# one fault at a time, each of which must fail its check and only make the run exit 1.
add_library(zelmor_faulty_plugin MODULE faulty_plugin.cpp)
target_link_libraries(zelmor_faulty_plugin PRIVATE zelmor_warnings)
target_include_directories(zelmor_faulty_plugin PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(zelmor_faulty_plugin PROPERTIES PREFIX "")
if(NOT WIN32)
  # dlopen, for the fault that loads libX11 at run time (in the C library itself since glibc 2.34).
  target_link_libraries(zelmor_faulty_plugin PRIVATE ${CMAKE_DL_LIBS})
endif()
set(faulty $<TARGET_FILE:zelmor_faulty_plugin>)

# The validator's machinery itself, against the gain plug-in and made-up worker runs.
add_executable(zelmor_validate_tests validate/validator_test.cpp)
target_link_libraries(zelmor_validate_tests PRIVATE zelmor_validate GTest::gtest_main zelmor_warnings)
target_compile_definitions(zelmor_validate_tests PRIVATE ZELMOR_FAULTY_PLUGIN="${faulty}")
add_dependencies(zelmor_validate_tests zelmor_faulty_plugin)
gtest_discover_tests(zelmor_validate_tests DISCOVERY_MODE PRE_TEST)

# Our plug-in passes every check; resume, only a warning for other plug-ins, passes too.
add_test(NAME cli.validate COMMAND ${CMAKE_COMMAND} -DCOMMAND=${host}\ validate\ ${plugin}\ --quick -DSTATUS=0
                                   "-DSTDOUT=\nPASS resume: " -P ${CMAKE_CURRENT_SOURCE_DIR}/cli_case.cmake)
# The editor's cycles need the display to themselves.
set_tests_properties(cli.validate PROPERTIES RESOURCE_LOCK display)
if(ZELMOR_SANITIZER MATCHES "address")
  # The validator unloads the plug-in, and with it fontconfig and FreeType, whose caches then look
  # leaked; loaded first, they stay for the process as in a host that uses them too.
  set_tests_properties(cli.validate PROPERTIES ENVIRONMENT
    "LD_PRELOAD=libfontconfig.so.1 libfreetype.so.6;ASAN_OPTIONS=verify_asan_link_order=0")
endif()

# name; ZELMOR_FAULT value; expected exit status; standard output pattern; more validate options
function(validate_case name fault status pattern)
  string(JOIN " " more ${ARGN})
  add_test(NAME cli.validate_${name}
           COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${CMAKE_COMMAND} -E env ZELMOR_FAULT=${fault} ${host} validate ${faulty} --quick --seed 7 ${more}"
                   -DSTATUS=${status} "-DSTDOUT=${pattern}" -P ${CMAKE_CURRENT_SOURCE_DIR}/cli_case.cmake)
endfunction()
# Windows cannot tell a slow call that waited from one it preempted: a busy machine may add a warning.
set(resume_warnings "1 warning")
if(WIN32)
  set(busy_machine "(, 1 warning)?")
  set(resume_warnings "(1 warning|2 warnings)")
endif()
validate_case(clean none 0 "^validating [^\n]* with seed 7, quick\r?\n(PASS|SKIP) .*\r?\n1[0-9] passed, 0 failed, [0-9]+ skipped${busy_machine}\r?\n$")
validate_case(text_overrun text-overrun 1 "FAIL texts: .*effGetParamName[(]0[)] wrote [0-9]+ bytes past its 64-byte buffer.*\r?\n1[0-9] passed, 1 failed")
validate_case(unterminated unterminated 1 "FAIL texts: .*effGetParamLabel[(]0[)] left its 64-byte buffer unterminated")
validate_case(subnormal_output subnormal-output 1 "FAIL matrix: [0-9]+ runs, [0-9]+ samples: 0 NaN, 0 infinite, [1-9][0-9]* subnormal")
validate_case(chunk_ignored chunk-ignored 1 "FAIL chunk-round-trip: program chunk 8 bytes [(]effSetChunk answered 8[)], but getting it again gave different bytes")
validate_case(jump_spike jump-spike 1 "FAIL parameter-jumps: [0-9]+ jumps, largest transient [+]1[0-9][.][0-9] dB")
validate_case(needs_resume needs-resume 1 "FAIL host-quirks: .*processing before effOpen and resume: 8 non-finite")
validate_case(nan_output nan-output 1 "FAIL matrix: [0-9]+ runs, [0-9]+ samples: [1-9][0-9]* NaN")
validate_case(float_mode float-mode 1 "FAIL float-mode: .*first: setParameter changed MXCSR 0x1F80 to 0x9FC0")
validate_case(chunk_crash chunk-crash 1 "FAIL chunk-sizes: .* 2 crashes [(]at bank 777, program 777[)]")
validate_case(shared_state shared-state 1 "FAIL instances-independent: ")
# A worker that hangs is stopped at its time limit and named; the run goes on.
validate_case(hang hang 1 "FAIL chunk-sizes: .* 0 crashes, 2 hangs [(]each stopped after 3 s[)] [(]at bank 555 hung, program 555 hung[)]"
              --worker-timeout 3)
# setParameter waiting for a lock that a chunk restore holds: slow, and a system call. (Windows only
# warns of slow calls, and may do so for any plug-in on a busy machine.)
if(NOT WIN32)
  validate_case(blocking_parameter blocking-parameter 1
                "FAIL parameter-latency: [0-9]+ setParameter calls beside [0-9]+ chunk restores, [1-3] runs?: worst call [0-9.]+ ms")
endif()
# What played before a resume still sounds after it: a warning, which leaves the exit status 0.
validate_case(rings_after_resume rings-after-resume 0
              "WARN resume: [^\n]*: [1-9][0-9]* of [0-9]+ samples differ [(]first at frame 0[^\n]*\r?\n1[0-9] passed, 0 failed, [0-9]+ skipped, ${resume_warnings}\r?\n$")
# Instances kept in a table with no lock: threads making and closing them at once crash the worker
# (a sanitizer reports the crash and exits with a status instead).
validate_case(construct_race construct-race 1
              "FAIL construct-threads: the worker (crashed|exited with status [1-9][0-9]*) during: [0-9]+ threads making and closing instances")
# An X error handler left behind in the unloaded library: the unload check's own X error then calls
# code that is gone. It needs an X display (skipped without one) and the display to itself.
if(NOT WIN32)
  add_test(NAME cli.validate_handler_left
           COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${CMAKE_COMMAND} -E env ZELMOR_FAULT=handler-left ${host} validate ${faulty} --quick --seed 7"
                   -DSTATUS=1 -DNEEDS_DISPLAY=ON
                   "-DSTDOUT=FAIL unload: the worker (crashed|exited with status [1-9][0-9]*) during: an X error on a connection of the host's own after the unloads"
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/cli_edit.cmake)
  set_tests_properties(cli.validate_handler_left PROPERTIES RESOURCE_LOCK display)
endif()
validate_case(crossed crossed 1 "PASS matrix: .*FAIL aliasing: .*crossed buffers [(]output L on input R[)] differ")
# Counting allocations needs the C library's allocator, which a sanitizer replaces.
if(NOT ZELMOR_SANITIZER)
  validate_case(allocates allocates 1 "FAIL realtime: in [0-9]+ processReplacing calls[:,] [^\n]*([1-9][0-9]* allocations|!malloc|!free)")
  validate_case(yields yields 1 "FAIL realtime: [^\n]*([1-9][0-9]* system calls|SwitchToThread|Sleep|yield)")
  # A lock the C library takes; on Windows, where the run-time's mutex may not call out of the DLL
  # while uncontended, the import table shows nothing to count.
  if(NOT WIN32)
    validate_case(locks locks 1 "FAIL realtime: in [0-9]+ processReplacing calls: 0 allocations or frees, [1-9][0-9]* mutex locks")
  endif()
endif()
# Ctrl+C ends a run with status 130 and kills the worker it waits for.
if(NOT WIN32)
  add_test(NAME cli.validate_interrupted COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/cli_interrupt.sh
                                                 $<TARGET_FILE:zelmor-host> ${faulty} ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(cli.validate_interrupted PROPERTIES TIMEOUT 60)
endif()

cli_case(validate_without_plugin "${host} validate" 2 "validate needs exactly one argument" "" "")
cli_case(validate_bad_seed "${host} validate ${faulty} --seed many" 2 "--seed: 'many' is not a whole number" "" "")
