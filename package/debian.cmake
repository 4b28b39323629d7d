# The Debian package (cpack -G DEB; the package preset makes it beside the .tar.gz). It takes
# the install components "Unspecified" (the programs, manuals, README and samples) and "debian"
# (copyright and changelog, see package/CMakeLists.txt); the licence is in its copyright file.
# package/generators.cmake sets the components, package/reproducible.cmake makes it again with
# dpkg-deb.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The maintainer signs the latest entry of the changelog.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/changelog" signature REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- (.*>)  .*$" "\\1" CPACK_DEBIAN_PACKAGE_MAINTAINER "${signature}")
# CPack puts the summary on the first line and this text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "magtime draws the light curve of a variable star, magnitude against the hour
of the day, from observation files in the VSOLJ or the VSNET layout.
magphase draws a phase diagram, magnitude against phase, from files of
phase and magnitude pairs.

Both are interactive console programs: they ask for the data file and the
size of the graph, draw it with characters on an 80 x 80 grid, may redraw it
at other sizes and save the drawing as a text file. magprep, a command-line
filter, turns observation reports as observers post them into data files
for both.")
