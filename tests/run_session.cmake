# Runs one session scenario: the real program in a scratch copy of the scenario's folder, with
# the folder's `stdin` as its answers; compares standard output, exit status and graph files.
#
#   cmake -DPROGRAM=exe -DSCENARIO=dir -DSCRATCH=dir [-DEMULATOR=wine] [-DFOREIGN=ON]
#         [-DEXAMPLES=dir] -P run_session.cmake
#
# A scenario folder holds:
#   stdin       the answers typed by the user
#   args        the program's command-line arguments, one a line; with it, the sample files of
#               EXAMPLES are copied into the scratch folder's examples/ before each run
#   stdout      the exact expected standard output
#   stderr      the exact expected standard error, when it is compared (in every way of the
#               console but the terminal)
#   status      the expected exit status, when it is not 0
#   expected/   graph files the run must leave in its folder, byte for byte
#   native-only why the scenario runs only on the build machine's own platform
#   foreign-only why the scenario runs only for another platform (under the emulator)
#   generate    files too large to keep, made in the scratch folder before the run: lines
#               "NAME COUNT TEXT" append TEXT (after one space, no ";", "\n" a line break,
#               "\t" a tab) COUNT times to the file NAME; lines starting with "#" are comments
#   links       links made in the scratch folder before the run: lines "NAME TARGET" (a hard
#               link) or "NAME TARGET symbolic"
#   NAME.stdin  one more run (NAME.stdout, NAME.status as above), for a scenario of several runs
#   console     ways to run other than with answers and output in files, one a line, each a run
#               of its own: "terminal" (the answers typed at a pseudo-terminal made by `script`,
#               standard output captured as usual); or a way standard output fails, when
#               `stdout` is not compared, as nothing can reach it: "full" (a full disk),
#               "closed" (no standard output at all), "broken-pipe" (a pipe whose reader has
#               gone, with SIGPIPE ignored)
# Each run, and each way of it, starts from a fresh scratch folder.
#   absent      files the run must not leave in its folder, one a line; a line may be a pattern
#               with *, ? and [...] (file(GLOB)), which nothing may match
#   anything else: data files, copied into the scratch folder before the run
# With FOREIGN=ON (programs for another platform, under an emulator) line ends are compared as
# equal, CRLF or LF, native-only scenarios are skipped and foreign-only ones run; without it,
# foreign-only scenarios are skipped.
# With the environment variable MAGPLOT_BLESS=1 the actual output replaces the expected one;
# read the diff before committing it.

cmake_minimum_required(VERSION 3.25)

if(FOREIGN)
  set(elsewhere native-only)
else()
  set(elsewhere foreign-only)
endif()
if(EXISTS "${SCENARIO}/${elsewhere}")
  file(READ "${SCENARIO}/${elsewhere}" why)
  string(STRIP "${why}" why)
  message("SKIPPED: ${why}")
  return()
endif()

# Wine's console reads a terminal in a mode of its own that `script` cannot type into; the Windows
# programs at a console were tried by hand, typing with tmux.
if(FOREIGN AND EXISTS "${SCENARIO}/console")
  file(STRINGS "${SCENARIO}/console" ways)
  if("terminal" IN_LIST ways)
    message("SKIPPED: answers typed at a terminal run on Linux only")
    return()
  endif()
endif()

# ---- the scratch folder: data files, generated files and links ----
function(prepare_scratch)
  file(REMOVE_RECURSE "${SCRATCH}")
  file(MAKE_DIRECTORY "${SCRATCH}")
  file(GLOB entries RELATIVE "${SCENARIO}" "${SCENARIO}/*")
  foreach(e IN LISTS entries)
    if(NOT e MATCHES "^(([^.]+\\.)?(stdin|stdout|stderr|status)|args|expected|native-only|foreign-only|generate|links|console|absent)$")
      file(COPY "${SCENARIO}/${e}" DESTINATION "${SCRATCH}")
    endif()
  endforeach()

  if(EXISTS "${SCENARIO}/args")
    file(COPY "${EXAMPLES}/" DESTINATION "${SCRATCH}/examples")
  endif()

  if(EXISTS "${SCENARIO}/generate")
    file(STRINGS "${SCENARIO}/generate" pieces)
    foreach(piece IN LISTS pieces)
      if(piece MATCHES "^#")
        continue()
      elseif(NOT piece MATCHES "^([^ ]+) ([0-9]+) (.*)$")
        message(FATAL_ERROR "${SCENARIO}/generate: not NAME COUNT TEXT: ${piece}")
      endif()
      set(name "${CMAKE_MATCH_1}")
      set(count "${CMAKE_MATCH_2}")
      string(REPLACE "\\n" "\n" text "${CMAKE_MATCH_3}")
      string(REPLACE "\\t" "\t" text "${text}")
      string(REPEAT "${text}" ${count} block)
      file(APPEND "${SCRATCH}/${name}" "${block}")
    endforeach()
  endif()

  if(EXISTS "${SCENARIO}/links")
    file(STRINGS "${SCENARIO}/links" links)
    foreach(link IN LISTS links)
      if(NOT link MATCHES "^([^ ]+) ([^ ]+)( symbolic)?$")
        message(FATAL_ERROR "${SCENARIO}/links: not NAME TARGET [symbolic]: ${link}")
      endif()
      if(CMAKE_MATCH_3)
        # Relative to the link's folder, as `ln -s` makes it.
        file(CREATE_LINK "${CMAKE_MATCH_2}" "${SCRATCH}/${CMAKE_MATCH_1}" SYMBOLIC)
      else()
        file(CREATE_LINK "${SCRATCH}/${CMAKE_MATCH_2}" "${SCRATCH}/${CMAKE_MATCH_1}")
      endif()
    endforeach()
  endif()
endfunction()

# ---- comparing ----
if(FOREIGN)
  set(compare compare_files --ignore-eol)
else()
  set(compare compare_files)
endif()

set(failures "")
function(check expected actual what)
  if(NOT EXISTS "${actual}")
    set(failures "${failures}${what}: missing\n" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E ${compare} "${expected}" "${actual}"
                  RESULT_VARIABLE differ)
  if(differ)
    file(READ "${expected}" e)
    file(READ "${actual}" a)
    set(failures "${failures}${what} differs\n---- expected ----\n${e}\n---- actual ----\n${a}\n---- end ----\n"
        PARENT_SCOPE)
  endif()
endfunction()

# ---- the runs: each set of answers, with output captured or each way the console lists ----
set(ways captured)
if(EXISTS "${SCENARIO}/console")
  file(STRINGS "${SCENARIO}/console" ways)
endif()
# A run is named by the prefix of its files: "NAME." for NAME.stdin, nothing for stdin.
file(GLOB runs RELATIVE "${SCENARIO}" "${SCENARIO}/stdin" "${SCENARIO}/*.stdin")
set(actual_out "${SCRATCH}.stdout")
set(actual_err "${SCRATCH}.stderr")
set(arguments "")
if(EXISTS "${SCENARIO}/args")
  file(STRINGS "${SCENARIO}/args" arguments)
endif()

foreach(answers_file IN LISTS runs)
string(REGEX REPLACE "stdin$" "" run "${answers_file}")
foreach(way IN LISTS ways)
  prepare_scratch()
  set(expected_status 0)
  if(EXISTS "${SCENARIO}/${run}status")
    file(STRINGS "${SCENARIO}/${run}status" expected_status LIMIT_COUNT 1)
  endif()
  set(answers "${SCENARIO}/${run}stdin")
  set(output "")
  set(command ${EMULATOR} "${PROGRAM}" ${arguments})
  set(prefix "${run}")
  if(way STREQUAL "captured")
    set(output OUTPUT_FILE "${actual_out}")
    if(EXISTS "${SCENARIO}/${run}stderr")
      list(APPEND output ERROR_FILE "${actual_err}")
    endif()
  elseif(way STREQUAL "terminal")
    # `script` makes a terminal the program's standard input and types the answers into it;
    # what the terminal shows (the answers echoed) is dropped. It types the end of input only
    # at the start of a line.
    file(READ "${answers}" typed HEX)
    if(NOT typed MATCHES "0a$")
      file(COPY_FILE "${answers}" "${SCRATCH}.typed")
      file(APPEND "${SCRATCH}.typed" "\n")
      set(answers "${SCRATCH}.typed")
    endif()
    string(JOIN "' '" quoted ${command})
    file(WRITE "${SCRATCH}.sh" "exec '${quoted}' >'${actual_out}'\n")
    set(command script -q -e -c "sh '${SCRATCH}.sh'" /dev/null)
    set(output OUTPUT_QUIET ERROR_QUIET)
  else()
    string(APPEND prefix "console ${way}: ")
    if(EXISTS "${SCENARIO}/${run}stderr")
      set(output ERROR_FILE "${actual_err}")
    endif()
    if(way STREQUAL "full")
      list(APPEND output OUTPUT_FILE /dev/full)
    elseif(way STREQUAL "closed")
      set(command sh -c "exec \"$@\" >&-" sh ${command})
    elseif(way STREQUAL "broken-pipe")
      # A fifo opened for writing while a reader holds it, then left without one: writing to it
      # fails at once, with no race against a reader that is still going away.
      # (Lines, not ";": the command is a CMake list.)
      set(command sh -c "trap '' PIPE\nmkfifo console.fifo\nexec 4<>console.fifo 5>console.fifo 4<&-\nrm console.fifo\nexec \"$@\" >&5 5>&-" sh ${command})
    else()
      message(FATAL_ERROR "${SCENARIO}/console: no such way: ${way}")
    endif()
  endif()
  execute_process(
    COMMAND ${command}
    WORKING_DIRECTORY "${SCRATCH}"
    INPUT_FILE "${answers}"
    ${output}
    RESULT_VARIABLE status
    TIMEOUT 60)

  if(DEFINED ENV{MAGPLOT_BLESS} AND NOT FOREIGN)
    if(way STREQUAL "captured" OR way STREQUAL "terminal")
      file(COPY_FILE "${actual_out}" "${SCENARIO}/${run}stdout")
    endif()
    if(way STREQUAL "captured" AND EXISTS "${SCENARIO}/${run}stderr")
      file(COPY_FILE "${actual_err}" "${SCENARIO}/${run}stderr")
    endif()
    if(NOT status EQUAL 0)
      file(WRITE "${SCENARIO}/${run}status" "${status}\n")
    else()
      file(REMOVE "${SCENARIO}/${run}status")
    endif()
    file(GLOB graphs RELATIVE "${SCENARIO}/expected" "${SCENARIO}/expected/*")
    foreach(g IN LISTS graphs)
      file(COPY_FILE "${SCRATCH}/${g}" "${SCENARIO}/expected/${g}")
    endforeach()
    message("blessed ${SCENARIO} ${run}${way}")
    continue()
  endif()

  if(NOT "${status}" STREQUAL "${expected_status}")
    string(APPEND failures "${prefix}exit status: expected ${expected_status}, got ${status}\n")
  endif()
  if(way STREQUAL "captured" OR way STREQUAL "terminal")
    check("${SCENARIO}/${run}stdout" "${actual_out}" "${prefix}standard output")
  endif()
  if(NOT way STREQUAL "terminal" AND EXISTS "${SCENARIO}/${run}stderr")
    check("${SCENARIO}/${run}stderr" "${actual_err}" "${prefix}standard error")
  endif()
  file(GLOB graphs RELATIVE "${SCENARIO}/expected" "${SCENARIO}/expected/*")
  foreach(g IN LISTS graphs)
    check("${SCENARIO}/expected/${g}" "${SCRATCH}/${g}" "${prefix}graph file ${g}")
  endforeach()
  if(EXISTS "${SCENARIO}/absent")
    file(STRINGS "${SCENARIO}/absent" absent)
    foreach(a IN LISTS absent)
      file(GLOB found RELATIVE "${SCRATCH}" "${SCRATCH}/${a}")
      if(EXISTS "${SCRATCH}/${a}" OR IS_SYMLINK "${SCRATCH}/${a}" OR found)
        string(APPEND failures "${prefix}${a}: written, but must not be ${found}\n")
      endif()
    endforeach()
  endif()
endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "${SCENARIO}\n${failures}")
endif()
