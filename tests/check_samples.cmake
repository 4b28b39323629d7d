# Runs every sample of examples/ through magprep and then through magtime or magphase, as the
# manuals teach: magprep must say only lines of its own and end with status 0, magtime gets the layout answer
# magprep gives, and the plotting program must draw the file without a message.
#
#   cmake -DMAGPREP=exe -DMAGTIME=exe -DMAGPHASE=exe -DSOURCE=dir -DSCRATCH=dir
#         [-DEMULATOR=wine] -P check_samples.cmake
cmake_minimum_required(VERSION 3.25)

# sample|plotting program|magprep's arguments before the sample, one each
set(runs "report.txt|magtime|BLAlg" "vsolj.txt|magtime|BLAlg" "vsnet.txt|magtime|bet_Per"
         "collapsed.txt|magtime|UXAlg" "collapsed.txt|magphase|-n|UXAlg"
         "folded.txt|magphase|-s|0.5" "phase.txt|magphase|-s|0"
         "minima.txt|magphase|-p|1.4426731|-e|2461370.3712|-r|20:31:15.4,+41:12:36|-s|0.5|V2384Cyg"
         "minima.txt|magphase|-f|0.5,5|-g|V2384Cyg" "ccdnight.txt|magphase|-n|V2384Cyg"
         "timings.txt|magphase|-c|-g|-p|1.4426731|-e|2461370.3712" "aavso.csv|magtime|SSCyg"
         "ccdmin.txt|magphase|-p|1.4426731|-e|2461370.3712|V2384Cyg")

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
file(GLOB samples RELATIVE "${SOURCE}/examples" "${SOURCE}/examples/*")
foreach(sample IN LISTS samples)
  if(NOT runs MATCHES "(^|;)${sample}\\|")
    message(FATAL_ERROR "examples/${sample} has no run through magprep here")
  endif()
endforeach()

set(failures "")
foreach(run IN LISTS runs)
  string(REPLACE "|" ";" fields "${run}")
  list(POP_FRONT fields sample program)
  file(COPY "${SOURCE}/examples/${sample}" DESTINATION "${SCRATCH}")
  execute_process(COMMAND ${EMULATOR} "${MAGPREP}" ${fields} ${sample} WORKING_DIRECTORY "${SCRATCH}"
                  OUTPUT_FILE "${SCRATCH}/data.txt" ERROR_VARIABLE said RESULT_VARIABLE status)
  string(REPLACE "\r" "" said "${said}")
  set(what "magprep ${fields} ${sample} | ${program}")
  if(NOT status EQUAL 0 OR NOT said MATCHES "^(magprep: [^\n]*\n)+$")
    string(APPEND failures "${what}: magprep ended with status ${status} saying\n${said}\n")
    continue()
  endif()
  set(answers "data.txt 20 55 0 0 0\n")
  if(program STREQUAL "magtime")
    if(NOT said MATCHES "answer ([01]) to the layout question")
      string(APPEND failures "${what}: no layout answer in: ${said}")
      continue()
    endif()
    set(answers "${CMAKE_MATCH_1} ${answers}")
  endif()
  file(WRITE "${SCRATCH}/answers" "${answers}")
  if(program STREQUAL "magtime")
    set(exe "${MAGTIME}")
  else()
    set(exe "${MAGPHASE}")
  endif()
  execute_process(COMMAND ${EMULATOR} "${exe}" WORKING_DIRECTORY "${SCRATCH}"
                  INPUT_FILE "${SCRATCH}/answers" OUTPUT_VARIABLE out RESULT_VARIABLE status)
  # Under a loaded machine Wine now and then fails to start a program at all: no output, status
  # 1. The program itself always says something, so only that case is run again.
  if(EMULATOR AND NOT status EQUAL 0 AND out STREQUAL "")
    execute_process(COMMAND ${EMULATOR} "${exe}" WORKING_DIRECTORY "${SCRATCH}"
                    INPUT_FILE "${SCRATCH}/answers" OUTPUT_VARIABLE out RESULT_VARIABLE status)
  endif()
  string(REPLACE "\r" "" out "${out}")
  # A clean graph: no message, and a range line with magnitudes and hours of a real night (or
  # theta times 10, for a periodogram).
  set(range "\nY max=1[0-9] min=1[0-9] / X max=[0-9]+ min=[0-9]+\n")
  if(fields MATCHES "(^|;)-g(;|$)")
    set(range "\nY max=[0-9]+ min=[0-9]+ / X max=10 min=0\n")
  endif()
  if(NOT status EQUAL 0 OR out MATCHES "ignored|Cannot|error|end of input"
     OR NOT out MATCHES "${range}")
    string(APPEND failures "${what}: ${program} (status ${status}) did not draw it cleanly:\n${out}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
