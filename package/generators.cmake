# Read by cpack once per generator, before it packages anything.

# ---- the time stamp of every package ----
# SOURCE_DATE_EPOCH when the caller sets it; otherwise the time of the last commit of this
# source tree or, out of git, the date of the latest changelog entry. CPack's archives and
# package/reproducible.cmake take every time stamp from it.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "")
  # Read also from a clone that another user owns (a CI checkout, a second packager's copy):
  # both must see the same commit time.
  set(git git -c safe.directory=* -C "${CPACK_MAGPLOT_SOURCE_DIR}")
  execute_process(COMMAND ${git} rev-parse --show-toplevel
                  OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
  # Only a git work tree of its own: not one this source tree was unpacked into.
  file(REAL_PATH "${CPACK_MAGPLOT_SOURCE_DIR}" source)
  if(status EQUAL 0 AND top STREQUAL source)
    execute_process(COMMAND ${git} log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT epoch MATCHES "^[0-9]+$")
    file(STRINGS "${CPACK_MAGPLOT_SOURCE_DIR}/package/changelog" signature REGEX "^ -- " LIMIT_COUNT 1)
    string(REGEX REPLACE "^ -- .*>  " "" date "${signature}")
    execute_process(COMMAND date -u -d "${date}" +%s OUTPUT_VARIABLE epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  if(NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "no time stamp for the packages: set SOURCE_DATE_EPOCH")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()

# ---- the Debian package ----
# Installed by components, all in one package, to leave out the plain licence file and take in
# Debian's copyright and changelog instead. CPack then stages the project's components one by
# one itself, so the build's install_manifest.txt stays as the user's install left it; the
# archives are staged one plain component at a time for that (CPACK_INSTALL_CMAKE_PROJECTS in
# CMakeLists.txt).
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_MAGPLOT_BINARY_DIR};${CPACK_PACKAGE_NAME};ALL;/")
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL Unspecified debian)
endif()
