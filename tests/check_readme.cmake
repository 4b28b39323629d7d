# Runs the README's commands as a new user types them, and checks that they print what the README
# shows and that its uninstall leaves nothing behind.
#
#   cmake -DREADME=README.md -DSOURCE=dir -DBUILD=dir -DSCRATCH=dir -DCPACK=cpack
#         -DCOMPONENTS=Unspecified;license -P check_readme.cmake
#
# The scratch folder stands for a fresh clone after the README's build: a copy of SOURCE (without
# .git and build/) whose build/default is BUILD, and a home folder of its own. BUILD is a build of
# the programs alone (programs_alone), so that the README's install and uninstall never touch the
# install_manifest.txt of a build a user installs from. There bash runs, in one shell and in the
# README's order:
# - the install: every line of the code blocks of the section "Build and install", except those
#   that install the tools (apt-get), get the sources (git clone) or configure and build
#   (cmake --preset), whose work BUILD has done, and except the uninstall block (below); then
#   magtime, magphase and magprep must be found under the home folder;
# - every transcript: a code block whose first line starts with "$ ". Each "$ " line is a
#   command, run as typed; the lines after it, up to the next "$ " line, are what it prints
#   (standard output and error), byte for byte, trailing spaces included. A command that is a
#   plotter alone (`magtime`, `magphase`) is a session: a line that ends in a prompt ("= " or
#   ") ") and one word is the prompt and the answer typed after it; the answers are fed to the
#   plotter on a pipe and its output must be the README's text with the answers and their line
#   breaks taken out, with status 0. Any other command reads nothing and must print exactly the
#   lines shown.
# Then the test suite's packaging checks (check_package.cmake) run on BUILD, and the uninstall,
# the code block of "Build and install" whose first line starts with "xargs rm", runs in the
# clone: nothing may be left in the home folder's .local, not even an empty folder.
#
# With the environment variable MAGPLOT_BLESS=1, the output of every transcript replaces the
# README's (the answers of a session put back after their prompts) instead of being compared; read
# the diff, and the prose that quotes the output, before committing it.
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
set(uninstall "")
set(transcripts 0)
# The driver's two parts: the install, then each command with its input and output in files of
# `runs` named by its number.
set(install_part "")
set(transcript_part "")
set(count 0)
set(kind "")
# Ends the command being read: its expected output and answers go to files named by its number,
# with the README's lines it spans (from the one after the "$ " line to the one before `at`).
macro(end_command)
  if(kind)
    restore(shown)
    restore(answers)
    file(WRITE "${runs}/${count}.expected" "${shown}")
    file(WRITE "${runs}/${count}.in" "${answers}")
    file(WRITE "${runs}/${count}.kind" "${kind}")
    file(WRITE "${runs}/${count}.span" "${output_from};${at}")
  endif()
  set(kind "")
  set(shown "")
  set(answers "")
endmacro()
set(at -1)
foreach(line IN LISTS lines)
  math(EXPR at "${at} + 1")
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
    set(removal OFF)
    if(line MATCHES "^\\$ ")
      set(transcript ON)
      math(EXPR transcripts "${transcripts} + 1")
    elseif(line MATCHES "^xargs rm ")
      set(removal ON)
    endif()
  endif()
  if(section STREQUAL "Build and install" AND removal)
    set(command "${line}")
    restore(command)
    string(APPEND uninstall "${command}")
  elseif(section STREQUAL "Build and install" AND NOT transcript)
    if(NOT line MATCHES "^(apt-get|git clone|cmake --preset)( |\n)" AND NOT line STREQUAL "\n")
      set(command "${line}")
      restore(command)
      string(APPEND install "${command}")
      string(LENGTH "${install}" length)
      file(WRITE "${runs}/install.${length}" "the README's install failed at\n${command}")
      string(APPEND install_part "{ ${command}} >'${runs}/install.log' 2>&1 || "
                                 "{ cat '${runs}/install.${length}' '${runs}/install.log'; exit 98; }\n")
    endif()
  elseif(transcript)
    if(line MATCHES "^\\$ (.*)\n$")
      end_command()
      math(EXPR count "${count} + 1")
      math(EXPR output_from "${at} + 1")
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
      file(APPEND "${runs}/${count}.prompts" "${CMAKE_MATCH_1}\n")
    else()
      string(APPEND shown "${line}")
    endif()
  endif()
endforeach()
if(install STREQUAL "" OR uninstall STREQUAL "" OR transcripts EQUAL 0)
  message(FATAL_ERROR "${README} has no install commands in \"Build and install\", no uninstall "
                      "there (a code block that starts with \"xargs rm\") or no code block that "
                      "starts with \"$ \"")
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

# The output a session shows: the plotter's, with each answer and its line break put back after
# the first showing of its prompt that follows the answer before.
function(shown_session n out result)
  file(STRINGS "${runs}/${n}.prompts" prompts)
  file(STRINGS "${runs}/${n}.in" answers)
  set(shown "")
  foreach(prompt answer IN ZIP_LISTS prompts answers)
    restore(prompt)
    string(FIND "${out}" "${prompt}" found)
    if(found EQUAL -1)
      file(READ "${runs}/${n}.command" command)
      message(FATAL_ERROR "the README's \"$ ${command}\": the prompt \"${prompt}\" of the answer "
                          "${answer} is no longer in its output:\n${out}")
    endif()
    string(LENGTH "${prompt}" length)
    math(EXPR end "${found} + ${length}")
    string(SUBSTRING "${out}" 0 ${end} before)
    string(SUBSTRING "${out}" ${end} -1 out)
    string(APPEND shown "${before}${answer}\n")
  endforeach()
  set(${result} "${shown}${out}" PARENT_SCOPE)
endfunction()

set(failed "")
set(blessed "")
foreach(n RANGE 1 ${count})
  file(READ "${runs}/${n}.command" command)
  file(READ "${runs}/${n}.kind" kind)
  file(READ "${runs}/${n}.expected" expected)
  file(READ "${runs}/${n}.out" out)
  file(READ "${runs}/${n}.status" status)
  string(STRIP "${status}" status)
  if(DEFINED ENV{MAGPLOT_BLESS})
    if(kind STREQUAL "session")
      shown_session(${n} "${out}" out)
    endif()
    file(READ "${runs}/${n}.span" span)
    list(GET span 0 from)
    list(APPEND blessed "${from}")
    file(WRITE "${runs}/${n}.shown" "${out}")
    continue()
  endif()
  if(kind STREQUAL "session" AND NOT status EQUAL 0)
    set(out "${out}(status ${status})\n")
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

# ---- blessing: the README again, each transcript's output replaced ----
if(DEFINED ENV{MAGPLOT_BLESS})
  set(text "")
  set(skip_to -1)
  set(at -1)
  set(n 0)
  foreach(line IN LISTS lines)
    math(EXPR at "${at} + 1")
    if(at IN_LIST blessed)
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
  file(WRITE "${README}" "${text}")
  message("blessed ${README}: ${count} commands' output written; read the diff")
endif()

# ---- the packaging checks, then the README's uninstall ----
# Not while blessing: the manual pages they compare with may be rewritten at the same time.
set(modes package install)
if(DEFINED ENV{MAGPLOT_BLESS})
  set(modes "")
endif()
foreach(mode IN LISTS modes)
  execute_process(COMMAND "${CMAKE_COMMAND}" -DMODE=${mode} -DBUILD=${BUILD} -DSOURCE=${SOURCE}
                          -DSCRATCH=${SCRATCH}/${mode} -DWINDOWS=OFF "-DCOMPONENTS=${COMPONENTS}"
                          -DCPACK=${CPACK} -P "${CMAKE_CURRENT_LIST_DIR}/check_package.cmake"
                  OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the packaging check (${mode}) failed after the README's install:\n${log}")
  endif()
endforeach()
file(WRITE "${runs}/uninstall.sh" "cd '${clone}' || exit 99\nset -e\n${uninstall}")
execute_process(COMMAND bash "${runs}/uninstall.sh" OUTPUT_VARIABLE log ERROR_VARIABLE log
                RESULT_VARIABLE status TIMEOUT 60)
file(GLOB_RECURSE left LIST_DIRECTORIES true "${home}/.local/*")
if(NOT status EQUAL 0 OR left)
  string(REPLACE ";" "\n  " left "${left}")
  message(FATAL_ERROR "the README's uninstall (status ${status}):\n${uninstall}${log}left in "
                      "${home}/.local:\n  ${left}")
endif()
message("${count} commands of the README print what it shows, after its install:\n${install}"
        "and its uninstall leaves nothing:\n${uninstall}")
