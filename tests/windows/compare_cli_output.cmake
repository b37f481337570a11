# Runs vesko-script built for the build machine (NATIVE) and for Windows (CROSS, through EMULATOR, whose
# list items are separated by "|") on the worked examples and fails unless standard output and the exit
# status agree byte for byte. Standard error is kept for a look only: messages reach a Windows console in
# its code page, with CR LF line ends. WORK is a scratch folder.
#   cmake -DNATIVE=... -DCROSS=... -DEMULATOR=... -DWORK=... -P compare_cli_output.cmake
foreach(var NATIVE CROSS WORK)
  if(NOT ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()
string(REPLACE "|" ";" emulator "${EMULATOR}")

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/settings")
# A result file for the analysis: falls of 20 a step, then a level near 40.
file(WRITE "${WORK}/run.dat"
     "slit_y1,slit_y2,Intensity\r\n2,2,100\r\n1.5,1.5,80\r\n1,1,60\r\n0.5,0.5,40\r\n0,0,39\r\n-0.5,-0.5,40\r\n")

# One case a line: the arguments, separated by blanks ("<blank>" is a blank inside one). Every field
# is given, so the empty settings folder decides nothing; --stdout writes nothing.
set(common "--settings-dir settings --output-folder C:\\data --stdout")
set(cases
  "slit-scan --axis y --slit-width 0.1 --scan-center 0 --scan-width 1 --division 5 ${common}"
  "slit-scan --axis z --slit-width 0.2 --scan-center 1.5 --scan-width 2 --division 3 ${common}"
  "slit-scan --axis z --slit-width 0.2 --scan-center 1.5 --scan-width 2 --division 3 --repeat 2 ${common}"
  "slit-dec-scan --axis y --start-slit-width 1.0 --end-slit-width 0.5 --scan-center 0.1 --dec-step 0.25 ${common}"
  "slit-dec-scan --axis y --start-slit-width 1.0 --end-slit-width 0.5 --scan-center 0.0 --dec-step 0.5 --repeat 2 ${common}"
  "slit-move --slit-width-y 0.2 --slit-width-z 0.4 --slit-center-y 0.0 --slit-center-z 0.1 ${common}"
  "coll-scan --panel y --scan-center 0.5 --scan-width 1.0 --division 5 --slit-width-y 0 --slit-width-z 0 --slit-center-y 0 --slit-center-z 0 --move-4d-slit 0 ${common}"
  "coll-scan --panel z --scan-center 0.5 --scan-width 1.0 --division 5 --slit-width-y 0.3 --slit-width-z 0.1 --slit-center-y 0.2 --slit-center-z 0.05 --move-4d-slit 1 ${common}"
  "lens-scan --axis lens_y --scan-center 0.0 --scan-width 0.3 --division 4 ${common}"
  "gonioy-scan --scan-center 0 --scan-width 1 --division 3 --omega1 5 --omega2 -5 --use-omega1 0 --use-omega2 1 ${common}"
  "gonio-stage-scan --panel y --scan-center 1.0 --scan-width 0.4 --division 3 --slit-width-y 0.5 --slit-width-z 0.3 --slit-center-y 0.1 --slit-center-z -0.05 --move-4d-slit 0 ${common}"
  "gonio-stage-scan --panel z --scan-center 1.0 --scan-width 0.4 --division 3 --slit-width-y 0.5 --slit-width-z 0.3 --slit-center-y 0.1 --slit-center-z -0.05 --move-4d-slit 1 ${common}"
  # A folder with a blank and Japanese letters, a file name with brackets: the escaped open lines.
  "slit-scan --axis y --slit-width 0.1 --scan-center 0 --scan-width 1 --division 5 --settings-dir settings --output-folder C:\\Beam<blank>Line\\データ --output-file-name a[x].tcl --stdout"
  "slit-scan --axis y --slit-width 0.1 --scan-center 0 --scan-width 1 --division 1 ${common}"
  "analyse run.dat"
  "analyse run.dat --threshold abc"
  "--help"
)

set(failed 0)
set(index 0)
foreach(case IN LISTS cases)
  math(EXPR index "${index} + 1")
  string(REPLACE " " ";" case_args "${case}")
  string(REPLACE "<blank>" " " case_args "${case_args}")
  foreach(side native cross)
    if(side STREQUAL "native")
      set(command "${NATIVE}")
    else()
      set(command ${emulator} "${CROSS}")
    endif()
    execute_process(COMMAND ${command} ${case_args}
                    WORKING_DIRECTORY "${WORK}"
                    OUTPUT_FILE "${WORK}/${index}.${side}.out"
                    ERROR_FILE "${WORK}/${index}.${side}.err"
                    RESULT_VARIABLE ${side}_status)
  endforeach()
  set(differs "")
  if(NOT native_status STREQUAL cross_status)
    string(APPEND differs " exit status ${native_status} / ${cross_status};")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/${index}.native.out"
                          "${WORK}/${index}.cross.out" RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    string(APPEND differs " standard output (${WORK}/${index}.*.out);")
  endif()
  file(SIZE "${WORK}/${index}.native.out" bytes)
  if(differs)
    message(SEND_ERROR "differs: vesko-script ${case}:${differs}")
    set(failed 1)
  elseif(case MATCHES "--stdout" AND native_status EQUAL 0 AND bytes EQUAL 0)
    message(SEND_ERROR "no script printed: vesko-script ${case}")
    set(failed 1)
  else()
    message(STATUS "same (${bytes} bytes, status ${native_status}): vesko-script ${case}")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "the Windows command line's output differs from the build machine's")
endif()
