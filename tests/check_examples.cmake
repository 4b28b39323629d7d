# Runs the examples of a manual page as a user types them, and checks that they print what the
# page shows.
#
#   cmake -DPAGE=man/magtime.1 -DSOURCE=dir -DSCRATCH=dir -DPROGRAMS=magtime;magphase;magprep
#         -P check_examples.cmake
#
# An example is a block of the page (.EX to .EE) whose lines start with "$ " (or ".el $ ", the
# Linux side of a line that the text for Windows, rendered with -rwindows=1, shows otherwise):
# each is a command, run by bash in one shell, in a folder holding a copy of every sample of
# examples/ (as the pages tell the reader to make one), with PROGRAMS first on the PATH and
# nothing on standard input. The lines after a command, up to the next command, a line of the
# text for Windows (".ie \n[windows]") or the end of the block, are what it prints (standard
# output and error), as the page shows them: roff's escapes read (\- \(aq \e \& \(dq), and
# trailing spaces, which a manual page cannot show, taken off.
#
# With the environment variable MAGPLOT_BLESS=1, the output of every command replaces the page's,
# written in roff, instead of being compared; read the diff, and the prose that quotes the
# output, before committing it.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${SCRATCH}")
set(work "${SCRATCH}/work")
set(runs "${SCRATCH}/runs")
file(MAKE_DIRECTORY "${work}" "${runs}")
file(GLOB samples "${SOURCE}/examples/*")
file(COPY ${samples} DESTINATION "${work}")
get_filename_component(name "${PAGE}" NAME)

# Lines as list items, as in check_readme.cmake: ";", "[" and "]" stand for themselves as
# "<semicolon>", "<bracket>" and "<closing>" there ("\n[windows]" holds brackets).
file(READ "${PAGE}" page)
string(REPLACE ";" "<semicolon>" page "${page}")
string(REPLACE "[" "<bracket>" page "${page}")
string(REPLACE "]" "<closing>" page "${page}")
macro(restore var)
  string(REPLACE "<semicolon>" ";" ${var} "${${var}}")
  string(REPLACE "<bracket>" "[" ${var} "${${var}}")
  string(REPLACE "<closing>" "]" ${var} "${${var}}")
endmacro()

# A line of an example as the page shows it; an escape not listed here fails the check.
function(unescape line result)
  string(REPLACE "\\e" "<backslash>" text "${line}")
  string(REPLACE "\\-" "-" text "${text}")
  string(REPLACE "\\(aq" "'" text "${text}")
  string(REPLACE "\\(dq" "\"" text "${text}")
  string(REPLACE "\\&" "" text "${text}")
  if(text MATCHES "\\\\")
    message(FATAL_ERROR "${name}: an escape that this check does not read, in the example line\n${line}")
  endif()
  string(REPLACE "<backslash>" "\\" text "${text}")
  set(${result} "${text}" PARENT_SCOPE)
endfunction()
# Output as roff lines of an example: the inverse of unescape, and "\&" before a leading "." or
# "'", which roff would take for a request.
function(escape text result)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REPLACE "'" "\\(aq" text "${text}")
  string(REGEX REPLACE "(^|\n)([.])" "\\1\\\\&\\2" text "${text}")
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

# ---- the examples ----
string(REGEX MATCHALL "[^\n]*\n" lines "${page}")
set(in_block OFF)
set(count 0)
set(reading OFF)
set(driver "cd '${work}' || exit 99\n")
set(at -1)
macro(end_command)
  if(reading)
    restore(shown)
    file(WRITE "${runs}/${count}.expected" "${shown}")
    file(WRITE "${runs}/${count}.span" "${output_from};${at}")
  endif()
  set(reading OFF)
  set(shown "")
endmacro()
foreach(line IN LISTS lines)
  math(EXPR at "${at} + 1")
  if(NOT in_block)
    if(line MATCHES "^\\.EX\n$")
      set(in_block ON)
    endif()
    continue()
  endif()
  if(line MATCHES "^\\.EE\n$" OR line MATCHES "^\\.ie \\\\n<bracket>windows<closing>")
    end_command()
    if(line MATCHES "^\\.EE")
      set(in_block OFF)
    endif()
  elseif(line MATCHES "^(\\.el )?\\$ (.*)\n$")
    end_command()
    math(EXPR count "${count} + 1")
    math(EXPR output_from "${at} + 1")
    set(reading ON)
    unescape("${CMAKE_MATCH_2}" command)
    restore(command)
    file(WRITE "${runs}/${count}.command" "${command}")
    string(APPEND driver "{ ${command}\n} </dev/null >'${runs}/${count}.out' 2>&1\n"
                         "echo $? >'${runs}/${count}.status'\n")
  elseif(reading)
    if(line MATCHES "^\\.")
      message(FATAL_ERROR "${name}: a request inside the output of an example:\n${line}")
    endif()
    unescape("${line}" text)
    string(REGEX REPLACE " +\n$" "\n" text "${text}")
    string(APPEND shown "${text}")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${name} has no example: no line \"$ \" in a block .EX to .EE")
endif()

# ---- running them ----
set(path "")
foreach(program IN LISTS PROGRAMS)
  get_filename_component(dir "${program}" DIRECTORY)
  string(APPEND path "${dir}:")
endforeach()
set(ENV{PATH} "${path}$ENV{PATH}")
file(WRITE "${runs}/driver.sh" "${driver}")
execute_process(COMMAND bash "${runs}/driver.sh" OUTPUT_VARIABLE log ERROR_VARIABLE log
                RESULT_VARIABLE status TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the examples of ${name} did not all run (${status}):\n${log}")
endif()

set(failed "")
foreach(n RANGE 1 ${count})
  file(READ "${runs}/${n}.command" command)
  file(READ "${runs}/${n}.expected" expected)
  file(READ "${runs}/${n}.out" out)
  file(READ "${runs}/${n}.status" status)
  string(STRIP "${status}" status)
  string(REGEX REPLACE " +\n" "\n" out "${out}")
  string(REGEX REPLACE " +$" "" out "${out}")
  if(DEFINED ENV{MAGPLOT_BLESS})
    # A last line without its line break gets one: the page shows whole lines.
    if(NOT out STREQUAL "" AND NOT out MATCHES "\n$")
      string(APPEND out "\n")
    endif()
    escape("${out}" roff)
    file(WRITE "${runs}/${n}.shown" "${roff}")
  elseif(NOT out MATCHES "\n$" AND "${out}\n" STREQUAL expected)
    # The page shows the last prompt of a session on a line of its own.
  elseif(NOT out STREQUAL expected)
    string(APPEND failed "---- ${name}: \"$ ${command}\" (status ${status}) printed\n${out}"
                         "---- where the page shows\n${expected}")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "${failed}")
endif()

# ---- blessing: the page again, each command's output replaced ----
if(DEFINED ENV{MAGPLOT_BLESS})
  set(text "")
  set(starts "")
  foreach(n RANGE 1 ${count})
    file(READ "${runs}/${n}.span" span)
    list(GET span 0 from)
    list(APPEND starts "${from}")
  endforeach()
  set(skip_to -1)
  set(at -1)
  set(n 0)
  foreach(line IN LISTS lines)
    math(EXPR at "${at} + 1")
    if(at IN_LIST starts)
      math(EXPR n "${n} + 1")
      file(READ "${runs}/${n}.span" span)
      list(GET span 1 skip_to)
      file(READ "${runs}/${n}.shown" shown)
      string(APPEND text "${shown}")
    endif()
    if(at LESS skip_to)
      continue()
    endif()
    restore(line)
    string(APPEND text "${line}")
  endforeach()
  file(WRITE "${PAGE}" "${text}")
  message("blessed ${PAGE}: the output of ${count} commands written; read the diff")
  return()
endif()
message("the ${count} commands of the examples of ${name} print what it shows")
