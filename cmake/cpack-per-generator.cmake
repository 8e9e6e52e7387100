# Read by CPack once per generator (CPACK_PROJECT_CONFIG_FILE).
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "qm-osk-${CPACK_PACKAGE_VERSION}-setup")
  set(CPACK_COMPONENTS_ALL program installed)
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "qm-osk-${CPACK_PACKAGE_VERSION}-portable")
  # A monolithic archive would take every component; one archive of the
  # chosen ones instead.
  set(CPACK_COMPONENTS_ALL program portable)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
endif()
