# Checks the Debian package that cpack -G DEB makes from a build: the files it installs with
# their modes and owners, its control fields and a run of the unpacked magtime on a sample. With
# LINTIAN, checks instead that lintian reports no error and no warning on the package that the
# first run left in SCRATCH.
#
#   cmake -DBUILD=dir -DSOURCE=dir -DSCRATCH=dir -DCPACK=cpack -P check_deb.cmake
#   cmake -DSCRATCH=dir -DLINTIAN=lintian -P check_deb.cmake
cmake_minimum_required(VERSION 3.25)

if(LINTIAN)
  file(GLOB debs "${SCRATCH}/out/*.deb")
  list(LENGTH debs n)
  if(NOT n EQUAL 1)
    message(FATAL_ERROR "${n} packages in ${SCRATCH}/out for lintian: run deb_contents first")
  endif()
  execute_process(COMMAND "${LINTIAN}" "${debs}" OUTPUT_VARIABLE report ERROR_VARIABLE report
                  RESULT_VARIABLE status)
  message("lintian ${debs} (status ${status}):\n${report}")
  if(NOT status EQUAL 0 OR report MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "lintian reports errors or warnings")
  endif()
  return()
endif()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")

execute_process(COMMAND "${CPACK}" -G DEB -B "${SCRATCH}/out" --config "${BUILD}/CPackConfig.cmake"
                OUTPUT_VARIABLE log ERROR_VARIABLE log RESULT_VARIABLE status)
file(GLOB debs "${SCRATCH}/out/*.deb")
list(LENGTH debs n)
if(NOT status EQUAL 0 OR NOT n EQUAL 1)
  message(FATAL_ERROR "cpack -G DEB made ${n} packages (status ${status}):\n${log}")
endif()
get_filename_component(deb_name "${debs}" NAME)
message("checked ${deb_name}")

# ---- control fields ----
execute_process(COMMAND dpkg-deb -f "${debs}" OUTPUT_VARIABLE control RESULT_VARIABLE status)
foreach(field "Package: magplot" "Version: 1\\.0" "Architecture: [a-z0-9]+" "Section: science"
              "Priority: optional" "Maintainer: [^<\n]+ <[^@>\n]+@[^>\n]+>" "Depends: .*libc6"
              "Description: [^\n]+\n [^\n]+\n")
  if(NOT control MATCHES "(^|\n)${field}")
    message(FATAL_ERROR "no field ${field} in the control file of ${deb_name}:\n${control}")
  endif()
endforeach()

# ---- files, modes and owners ----
# Every entry owned by root, directories 0755, the programs 0755, every other file 0644.
file(GLOB_RECURSE samples LIST_DIRECTORIES false RELATIVE "${SOURCE}/examples" "${SOURCE}/examples/*")
set(doc usr/share/doc/magplot)
set(expected "-rwxr-xr-x usr/bin/magtime" "-rwxr-xr-x usr/bin/magphase" "-rwxr-xr-x usr/bin/magprep")
foreach(file share/man/man1/magtime.1.gz share/man/man1/magphase.1.gz share/man/man1/magprep.1.gz
             share/doc/magplot/copyright
             share/doc/magplot/changelog.gz share/doc/magplot/README.md)
  list(APPEND expected "-rw-r--r-- usr/${file}")
endforeach()
foreach(s IN LISTS samples)
  list(APPEND expected "-rw-r--r-- ${doc}/examples/${s}")
endforeach()
execute_process(COMMAND dpkg-deb -c "${debs}" OUTPUT_VARIABLE listing RESULT_VARIABLE status)
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(found "")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([-d][-rwx]+) root/root +[0-9]+ [0-9-]+ [0-9:]+ \\./(.*)$")
    message(FATAL_ERROR "not owned by root/root in ${deb_name}: ${line}")
  endif()
  set(mode "${CMAKE_MATCH_1}")
  set(path "${CMAKE_MATCH_2}")
  if(path STREQUAL "" OR path MATCHES "/$")
    if(NOT mode STREQUAL "drwxr-xr-x")
      message(FATAL_ERROR "directory not 0755 in ${deb_name}: ${line}")
    endif()
  else()
    list(APPEND found "${mode} ${path}")
  endif()
endforeach()
list(SORT found)
list(SORT expected)
if(NOT status EQUAL 0 OR NOT found STREQUAL expected)
  string(REPLACE ";" "\n  " e "${expected}")
  string(REPLACE ";" "\n  " f "${found}")
  message(FATAL_ERROR "files of ${deb_name} differ\nexpected:\n  ${e}\nfound:\n  ${f}")
endif()

# ---- the unpacked programs and documents ----
execute_process(COMMAND dpkg-deb -x "${debs}" "${SCRATCH}/root" RESULT_VARIABLE status)
file(READ "${SCRATCH}/root/${doc}/copyright" copyright)
file(READ "${SOURCE}/LICENSE" licence)
string(REGEX MATCH "\nTHE SOFTWARE IS PROVIDED[^\n]*" last_terms "${licence}")
string(REPLACE "\n" "\n " last_terms "${last_terms}")
if(NOT status EQUAL 0 OR NOT copyright MATCHES "^Format: [^\n]+copyright-format/1\\.0/\n"
   OR NOT copyright MATCHES "\nLicense: Expat\n" OR NOT copyright MATCHES "${last_terms}")
  message(FATAL_ERROR "the copyright file does not hold the licence:\n${copyright}")
endif()
file(WRITE "${SCRATCH}/answers" "1 examples/vsolj.txt 20 40 0 0 0\n")
execute_process(COMMAND "${SCRATCH}/root/usr/bin/magtime" WORKING_DIRECTORY "${SCRATCH}/root/${doc}"
                INPUT_FILE "${SCRATCH}/answers" OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "\nY max=12 min=10 / X max=24 min=19\n.*\n12 \\+")
  message(FATAL_ERROR "the unpacked magtime did not draw a sample (status ${status}):\n${out}")
endif()
