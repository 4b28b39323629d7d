# Read by cpack once per generator. The .deb is installed by components, all in one package,
# to leave out the plain licence file and take in Debian's copyright and changelog instead.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL Unspecified debian)
endif()
