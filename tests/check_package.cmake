# Checks what the product installs: an install tree (MODE install, with DESTDIR) or the archive
# CPack makes (MODE package), against the list of files it must hold and nothing else.
#
#   cmake -DMODE=install|package -DBUILD=dir -DSOURCE=dir -DSCRATCH=dir -DWINDOWS=ON|OFF
#         -DCOMPONENTS=Unspecified;license [-DFOLDER=magplot-1.0-win32] [-DCPACK=cpack]
#         [-DEMULATOR=qemu-aarch64;-L;/usr/aarch64-linux-gnu] -P check_package.cmake
#
# Linux: bin/, share/man/man1/ (gzipped pages) and share/doc/magplot/ (a .tar.gz); Windows: one
# folder with the programs, their manuals, the README for Windows and the licence as CRLF text,
# and the samples (a .zip). Neither may change the build's install_manifest.txt, which lists
# what the user installed from it: the install goes by COMPONENTS, as CPack does.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
set(manifest "${BUILD}/install_manifest.txt")
set(manifest_before "(none)")
if(EXISTS "${manifest}")
  file(READ "${manifest}" manifest_before)
endif()

file(GLOB_RECURSE samples LIST_DIRECTORIES false RELATIVE "${SOURCE}/examples" "${SOURCE}/examples/*")
if(WINDOWS)
  set(bin "")
  set(doc "")
  set(expected magtime.exe magphase.exe magprep.exe magtime.txt magphase.txt magprep.txt README.txt
               LICENSE.txt)
else()
  set(bin "bin/")
  set(doc "share/doc/magplot/")
  set(expected bin/magtime bin/magphase bin/magprep share/man/man1/magtime.1.gz
               share/man/man1/magphase.1.gz share/man/man1/magprep.1.gz ${doc}README.md
               ${doc}LICENSE)
endif()
foreach(s IN LISTS samples)
  list(APPEND expected "${doc}examples/${s}")
endforeach()

# ---- the tree to check ----
if(MODE STREQUAL "install")
  # A packager's install: prefix /usr, staged under DESTDIR.
  set(ENV{DESTDIR} "${SCRATCH}/stage")
  foreach(component IN LISTS COMPONENTS)
    execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix /usr
                            --component ${component}
                    OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "cmake --install --component ${component} failed:\n${log}")
    endif()
  endforeach()
  set(top "${SCRATCH}/stage/usr")
else()
  if(WINDOWS)
    set(generator ZIP)
  else()
    set(generator TGZ)
  endif()
  execute_process(COMMAND "${CPACK}" -G ${generator} -B "${SCRATCH}/out" --config "${BUILD}/CPackConfig.cmake"
                  OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
  file(GLOB archives "${SCRATCH}/out/*.tar.gz" "${SCRATCH}/out/*.zip")
  list(LENGTH archives n)
  if(NOT status EQUAL 0 OR NOT n EQUAL 1)
    message(FATAL_ERROR "cpack -G ${generator} made ${n} archives (status ${status}):\n${log}")
  endif()
  file(MAKE_DIRECTORY "${SCRATCH}/unpacked")
  execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${archives}"
                  WORKING_DIRECTORY "${SCRATCH}/unpacked" RESULT_VARIABLE status)
  # Everything stands in one folder named after the archive.
  file(GLOB tops LIST_DIRECTORIES true "${SCRATCH}/unpacked/*")
  get_filename_component(archive_name "${archives}" NAME)
  string(REGEX REPLACE "\\.(tar\\.gz|zip)$" "" folder "${archive_name}")
  if(NOT status EQUAL 0 OR NOT tops STREQUAL "${SCRATCH}/unpacked/${folder}")
    message(FATAL_ERROR "${archive_name} does not unpack into the one folder ${folder}: ${tops}")
  endif()
  if(WINDOWS AND NOT folder STREQUAL FOLDER)
    message(FATAL_ERROR "${archive_name}: its folder is not ${FOLDER}, which README.txt names")
  endif()
  set(top "${tops}")
  message("checked ${archive_name}")
endif()

set(manifest_after "(none)")
if(EXISTS "${manifest}")
  file(READ "${manifest}" manifest_after)
endif()
if(NOT manifest_after STREQUAL manifest_before)
  message(FATAL_ERROR "${manifest}, the list of what the user installed from this build, was "
                      "rewritten by the ${MODE}; it now names:\n${manifest_after}")
endif()

# ---- exactly the expected files ----
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${top}" "${top}/*")
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  string(REPLACE ";" "\n  " e "${expected}")
  string(REPLACE ";" "\n  " f "${found}")
  message(FATAL_ERROR "files differ\nexpected:\n  ${e}\nfound:\n  ${f}")
endif()

function(same installed original)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${top}/${installed}" "${original}"
                  RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${installed} is not a copy of ${original}")
  endif()
endfunction()
# The same bytes, or for Windows the same text with every LF of the original as CRLF. Read as
# hex: file(READ) as text drops carriage returns.
function(same_text installed original)
  file(READ "${top}/${installed}" got HEX)
  file(READ "${original}" want HEX)
  string(REGEX REPLACE "(..)" "\\1 " got "${got}")
  string(REGEX REPLACE "(..)" "\\1 " want "${want}")
  if(WINDOWS)
    string(REPLACE "0a " "0d 0a " want "${want}")
  endif()
  if(NOT got STREQUAL want)
    message(FATAL_ERROR "${installed} is not the text of ${original}")
  endif()
endfunction()
if(WINDOWS)
  file(READ "${SOURCE}/package/README-windows.txt" readme)
  string(REPLACE "@FOLDER@" "${FOLDER}" readme "${readme}")
  file(WRITE "${SCRATCH}/README-windows.txt" "${readme}")
  same_text(README.txt "${SCRATCH}/README-windows.txt")
  same_text(LICENSE.txt "${SOURCE}/LICENSE")
else()
  same("${doc}README.md" "${SOURCE}/README.md")
  same("${doc}LICENSE" "${SOURCE}/LICENSE")
endif()
# The samples: CRLF text for Notepad on Windows.
foreach(s IN LISTS samples)
  if(WINDOWS)
    same_text("examples/${s}" "${SOURCE}/examples/${s}")
  else()
    same("${doc}examples/${s}" "${SOURCE}/examples/${s}")
  endif()
endforeach()

# ---- the programs and the manuals ----
if(WINDOWS)
  foreach(name magtime magphase magprep)
    file(READ "${top}/${name}.exe" head LIMIT 2 HEX)
    if(NOT head STREQUAL "4d5a")
      message(FATAL_ERROR "${name}.exe is not a Windows program")
    endif()
    # Plain text for Notepad: printable ASCII in CRLF lines, the page's title first. Read as hex:
    # file(READ) as text drops carriage returns.
    file(READ "${top}/${name}.txt" hex HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${hex}")
    string(REPLACE "0d 0a " "" inside_lines "${bytes}")
    string(TOUPPER "${name}" title)
    string(HEX "${title}(1)" title_hex)
    string(HEX "EXIT STATUS" exit_hex)
    if(NOT hex MATCHES "^${title_hex}" OR NOT hex MATCHES "0d0a${exit_hex}0d0a"
       OR inside_lines MATCHES "(^| )([0-1].|7f|[89a-f].) ")
      message(FATAL_ERROR "${name}.txt is not the manual as plain text with CRLF line ends")
    endif()
  endforeach()
else()
  foreach(page magtime.1 magphase.1 magprep.1)
    execute_process(COMMAND gzip -dc "${top}/share/man/man1/${page}.gz"
                    OUTPUT_FILE "${SCRATCH}/${page}" RESULT_VARIABLE status)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SCRATCH}/${page}"
                            "${SOURCE}/man/${page}" RESULT_VARIABLE differ)
    if(NOT status EQUAL 0 OR differ)
      message(FATAL_ERROR "share/man/man1/${page}.gz is not the gzipped ${page}")
    endif()
  endforeach()
  # The installed programs run: each draws a sample file and ends with status 0.
  foreach(run "magtime;1 examples/vsolj.txt 20 40 0 0 0" "magphase;examples/phase.txt 16 54 0 0 0")
    list(GET run 0 program)
    list(GET run 1 answers)
    file(WRITE "${SCRATCH}/${program}.answers" "${answers}\n")
    execute_process(COMMAND ${EMULATOR} "${top}/${bin}${program}" WORKING_DIRECTORY "${top}/${doc}"
                    INPUT_FILE "${SCRATCH}/${program}.answers" OUTPUT_VARIABLE out
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT out MATCHES "\nY max=[0-9]+ min=[0-9]+ / X max=")
      message(FATAL_ERROR "installed ${program} did not draw a sample (status ${status}):\n${out}")
    endif()
  endforeach()
  execute_process(COMMAND ${EMULATOR} "${top}/${bin}magprep" BLAlg examples/report.txt
                  WORKING_DIRECTORY "${top}/${doc}" OUTPUT_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT out MATCHES "^BLAlg 202612071900 102 QZK\n")
    message(FATAL_ERROR "installed magprep did not read a sample (status ${status}):\n${out}")
  endif()
endif()
