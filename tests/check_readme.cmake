# Runs the README's commands as a new user types them, and checks that they print what the README
# shows.
#
#   cmake -DREADME=README.md -DSOURCE=dir -DBUILD=dir -DSCRATCH=dir -P check_readme.cmake
#
# The scratch folder stands for a fresh clone after the README's build: a copy of SOURCE (without
# .git and build/) whose build/default is BUILD, and a home folder of its own. There bash runs, in
# one shell and in the README's order:
# - the install: every line of the code blocks of the section "Build and install", except those
#   that install the tools (apt-get) or configure and build (cmake --preset), whose work BUILD
#   has done; then magtime, magphase and magprep must be found under the home folder;
# - every transcript: a code block whose first line starts with "$ ". Each "$ " line is a
#   command, run as typed; the lines after it, up to the next "$ " line, are what it prints
#   (standard output and error). A command that is a plotter alone (`magtime`, `magphase`) is
#   a session: a line that ends in a prompt ("= " or ") ") and one word is the prompt and the
#   answer typed after it; the answers are fed to the plotter on a pipe and its output must be
#   the README's text with the answers and their line breaks taken out (trailing spaces aside),
#   with status 0. Any other command reads nothing and must print exactly the lines shown.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${SCRATCH}")
set(clone "${SCRATCH}/clone")
set(home "${SCRATCH}/home")
set(runs "${SCRATCH}/runs")
file(MAKE_DIRECTORY "${clone}/build" "${home}" "${runs}")
file(GLOB tops LIST_DIRECTORIES true "${SOURCE}/*" "${SOURCE}/.*")
foreach(top IN LISTS tops)
  get_filename_component(name "${top}" NAME)
  if(NOT name MATCHES "^(\\.git|build|\\.|\\.\\.)$")
    file(COPY "${top}" DESTINATION "${clone}")
  endif()
endforeach()
file(CREATE_LINK "${BUILD}" "${clone}/build/default" SYMBOLIC)

# ---- the README's code blocks ----
# Lines as list items: a ";" would split one, and an unmatched "[" or "]" join two, so they
# stand for themselves as "<semicolon>", "<bracket>" and "<closing>" there.
file(READ "${README}" readme)
string(REPLACE ";" "<semicolon>" readme "${readme}")
string(REPLACE "[" "<bracket>" readme "${readme}")
string(REPLACE "]" "<closing>" readme "${readme}")
macro(restore var)
  string(REPLACE "<semicolon>" ";" ${var} "${${var}}")
  string(REPLACE "<bracket>" "[" ${var} "${${var}}")
  string(REPLACE "<closing>" "]" ${var} "${${var}}")
endmacro()
string(REGEX MATCHALL "[^\n]*\n" lines "${readme}")
set(section "")
set(in_block OFF)
set(install "")
set(transcripts 0)
# The driver's two parts: the install, then each command with its input and output in files of
# `runs` named by its number.
set(install_part "")
set(transcript_part "")
set(count 0)
set(kind "")
# Ends the command being read: its expected output and answers go to files named by its number.
macro(end_command)
  if(kind)
    restore(shown)
    restore(answers)
    file(WRITE "${runs}/${count}.expected" "${shown}")
    file(WRITE "${runs}/${count}.in" "${answers}")
    file(WRITE "${runs}/${count}.kind" "${kind}")
  endif()
  set(kind "")
  set(shown "")
  set(answers "")
endmacro()
foreach(line IN LISTS lines)
  if(NOT in_block)
    if(line MATCHES "^## (.*)\n$")
      set(section "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^```[a-z]*\n$")
      set(in_block ON)
      set(first ON)
    endif()
    continue()
  endif()
  if(line STREQUAL "```\n")
    end_command()
    set(in_block OFF)
    continue()
  endif()
  if(first)
    set(first OFF)
    set(transcript OFF)
    if(line MATCHES "^\\$ ")
      set(transcript ON)
      math(EXPR transcripts "${transcripts} + 1")
    endif()
  endif()
  if(section STREQUAL "Build and install" AND NOT transcript)
    if(NOT line MATCHES "^(apt-get|cmake --preset)( |\n)" AND NOT line STREQUAL "\n")
      set(command "${line}")
      restore(command)
      string(APPEND install "${command}")
      string(LENGTH "${install}" at)
      file(WRITE "${runs}/install.${at}" "the README's install failed at\n${command}")
      string(APPEND install_part "{ ${command}} >'${runs}/install.log' 2>&1 || "
                                 "{ cat '${runs}/install.${at}' '${runs}/install.log'; exit 98; }\n")
    endif()
  elseif(transcript)
    if(line MATCHES "^\\$ (.*)\n$")
      end_command()
      math(EXPR count "${count} + 1")
      set(command "${CMAKE_MATCH_1}")
      restore(command)
      string(APPEND transcript_part
             "{ ${command}\n} <'${runs}/${count}.in' >'${runs}/${count}.out' 2>&1\n"
             "echo $? >'${runs}/${count}.status'\n")
      file(WRITE "${runs}/${count}.command" "${command}")
      set(kind plain)
      if(command MATCHES "^(magtime|magphase)$")
        set(kind session)
      endif()
    elseif(kind STREQUAL "session" AND line MATCHES "^(.*[=)] )([^ \n]+)\n$")
      string(APPEND shown "${CMAKE_MATCH_1}")
      string(APPEND answers "${CMAKE_MATCH_2}\n")
    else()
      string(APPEND shown "${line}")
    endif()
  endif()
endforeach()
if(install STREQUAL "" OR transcripts EQUAL 0)
  message(FATAL_ERROR "${README} has no install commands in \"Build and install\" or no code "
                      "block that starts with \"$ \"")
endif()

# ---- running them as a new user would ----
set(ENV{HOME} "${home}")
file(WRITE "${runs}/driver.sh"
     "cd '${clone}' || exit 99\n" "${install_part}"
     "for p in magtime magphase magprep; do\n"
     "  case $(command -v $p) in\n"
     "  \"$HOME\"/*) ;;\n"
     "  *) echo \"after the README's install, $p is not found in the home folder: $(command -v $p)\"\n"
     "     exit 97 ;;\n"
     "  esac\n"
     "done\n"
     "${transcript_part}")
# A command that waits for input it will never get ends the run, not the test's time.
execute_process(COMMAND bash "${runs}/driver.sh" OUTPUT_VARIABLE log ERROR_VARIABLE log
                RESULT_VARIABLE status TIMEOUT 120)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the README's commands did not all run (${status}):\n${log}")
endif()

set(failed "")
foreach(n RANGE 1 ${count})
  file(READ "${runs}/${n}.command" command)
  file(READ "${runs}/${n}.kind" kind)
  file(READ "${runs}/${n}.expected" expected)
  file(READ "${runs}/${n}.out" out)
  file(READ "${runs}/${n}.status" status)
  string(STRIP "${status}" status)
  if(kind STREQUAL "session")
    string(REGEX REPLACE " +\n" "\n" out "${out}")
    string(REGEX REPLACE " +\n" "\n" expected "${expected}")
    if(NOT status EQUAL 0)
      set(out "${out}(status ${status})\n")
    endif()
  endif()
  if(NOT out STREQUAL expected)
    string(APPEND failed "---- the README's \"$ ${command}\" (status ${status})")
    if(kind STREQUAL "session")
      file(STRINGS "${runs}/${n}.in" answers)
      string(REPLACE ";" " " answers "${answers}")
      string(APPEND failed ", answers ${answers}")
    endif()
    string(APPEND failed ", printed\n${out}---- where the README shows\n${expected}")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "${failed}")
endif()
message("${count} commands of the README print what it shows, after its install:\n${install}")
