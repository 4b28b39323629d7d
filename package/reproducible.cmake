# Run by cpack after each generator (CPACK_POST_BUILD_SCRIPTS): makes the package again from the
# staging folder so that the same sources give the same bytes on any machine, whatever the
# umask, file system, locale, time zone or build path.
#
# CPack's own .tar.gz and .zip list the entries in the order the file system returns them, its
# .zip holds times in the builder's time zone, and its .deb counts directory sizes, which differ
# from one file system to another, in its Installed-Size. Here every entry gets mode 0755
# (folders, programs) or 0644 and the time SOURCE_DATE_EPOCH (package/generators.cmake sets
# it); the archives list them sorted by name, owned by root, and dpkg-deb builds the .deb.
cmake_minimum_required(VERSION 3.25)

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is not a number of seconds: \"${epoch}\"")
endif()
list(LENGTH CPACK_PACKAGE_FILES count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "one package per generator expected, not: ${CPACK_PACKAGE_FILES}")
endif()
set(package "${CPACK_PACKAGE_FILES}")
set(stage "${CPACK_TEMPORARY_DIRECTORY}")

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}):\n${errors}")
  endif()
endfunction()

# Gives every entry under `dir` (itself too) its mode and the package's time.
function(normalize dir)
  run(chmod -R u=rwX,go=rX "${dir}")
  run(find "${dir}" -exec touch -h -d "@${epoch}" {} +)
endfunction()

# ---- .tar.gz and .zip ----
if(package MATCHES "\\.(tar\\.gz|zip)$")
  # The archive holds the staging folder itself (named as the archive) or only what it holds.
  if(CPACK_INCLUDE_TOPLEVEL_DIRECTORY)
    get_filename_component(base "${stage}" DIRECTORY)
    get_filename_component(top "${stage}" NAME)
    set(entries "${top}")
  else()
    set(base "${stage}")
    set(top "")
    set(entries "")
  endif()
  normalize("${stage}")
  file(GLOB_RECURSE inside LIST_DIRECTORIES true RELATIVE "${base}" "${stage}/*")
  list(APPEND entries ${inside})
  list(SORT entries)
  list(JOIN entries "\n" names)
  file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/entries.txt" "${names}\n")
  file(REMOVE "${package}")
  if(package MATCHES "\\.tar\\.gz$")
    execute_process(COMMAND tar -C "${base}" --create --no-recursion --format=gnu
                            --owner=root:0 --group=root:0 "--mtime=@${epoch}"
                            --files-from "${CPACK_TOPLEVEL_DIRECTORY}/entries.txt"
                    COMMAND gzip -9n
                    OUTPUT_FILE "${package}" RESULTS_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status STREQUAL "0;0")
      message(FATAL_ERROR "tar | gzip failed (${status}):\n${errors}")
    endif()
  else()
    # -X: no uid, gid or extra time fields; the DOS times are local times, so taken in UTC.
    find_program(ZIP zip)
    if(NOT ZIP)
      message(FATAL_ERROR "zip is needed to make ${package} (Debian: apt install zip)")
    endif()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env TZ=UTC0 LC_ALL=C "${ZIP}" -X -9 -q -nw
                            "${package}" -@
                    WORKING_DIRECTORY "${base}" INPUT_FILE "${CPACK_TOPLEVEL_DIRECTORY}/entries.txt"
                    RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "zip failed (${status}):\n${errors}")
    endif()
  endif()
  return()
endif()

# ---- .deb ----
# CPack's working folder holds its control files beside the folders to install (usr/ ...).
if(package MATCHES "\\.deb$")
  file(GLOB controls "${stage}/control" "${stage}/*/control")
  list(LENGTH controls count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "no single control file under ${stage}: ${controls}")
  endif()
  get_filename_component(work "${controls}" DIRECTORY)
  set(root "${CPACK_TOPLEVEL_DIRECTORY}/deb-root")
  file(REMOVE_RECURSE "${root}")
  file(MAKE_DIRECTORY "${root}/DEBIAN")
  file(GLOB tops LIST_DIRECTORIES true RELATIVE "${work}" "${work}/*")
  foreach(name IN LISTS tops)
    if(IS_DIRECTORY "${work}/${name}")
      file(RENAME "${work}/${name}" "${root}/${name}")
    endif()
  endforeach()
  run("${CMAKE_COMMAND}" -E chdir "${root}/DEBIAN" "${CMAKE_COMMAND}" -E tar xf "${work}/control.tar.gz")

  # Installed-Size as dpkg-gencontrol counts it: each file's size in KiB rounded up, and 1 KiB
  # for each folder, whatever the file system's block and folder sizes.
  set(kib 1)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true "${root}/*")
  foreach(entry IN LISTS entries)
    file(RELATIVE_PATH name "${root}" "${entry}")
    if(name MATCHES "^DEBIAN(/|$)")
      continue()
    elseif(IS_DIRECTORY "${entry}")
      math(EXPR kib "${kib} + 1")
    else()
      file(SIZE "${entry}" bytes)
      math(EXPR kib "${kib} + (${bytes} + 1023) / 1024")
    endif()
  endforeach()
  file(READ "${root}/DEBIAN/control" control)
  string(REGEX REPLACE "\n+$" "" control "${control}")
  string(REGEX REPLACE "(^|\n)Installed-Size: [0-9]+" "\\1Installed-Size: ${kib}" control "${control}")
  file(WRITE "${root}/DEBIAN/control" "${control}\n")

  normalize("${root}")
  file(REMOVE "${package}")
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build "${root}" "${package}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-deb failed (${status}):\n${log}")
  endif()
endif()
