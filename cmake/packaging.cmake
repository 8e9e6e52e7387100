# The two release artefacts, made by scripts/package.sh with CPack: the
# installer (NSIS, which Debian's nsis package runs on Linux) and the
# portable zip. Both take their version from project(VERSION).

# What goes where: the program and the word list's licence in both, the
# README with the installed program, a short read-me in the zip.
install(TARGETS qm-osk RUNTIME DESTINATION . COMPONENT program)
install(FILES ${CMAKE_SOURCE_DIR}/data/LICENSE-words-en.md DESTINATION . COMPONENT program)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION . COMPONENT installed)
install(FILES ${CMAKE_SOURCE_DIR}/docs/portable-read-me.txt DESTINATION . RENAME READ-ME.txt
        COMPONENT portable)

set(CPACK_PACKAGE_NAME qm-osk)
set(CPACK_PACKAGE_VENDOR "QM-OSK")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QM-OSK on-screen keyboard")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# One name for every version, so that an upgrade installs over the old one
# and leaves a single entry in Apps & features.
set(CPACK_PACKAGE_INSTALL_DIRECTORY "QM-OSK")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "QM-OSK")
set(CPACK_NSIS_DISPLAY_NAME "QM-OSK")
set(CPACK_NSIS_INSTALLED_ICON_NAME "qm-osk.exe")
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/src/host/start/qm_osk.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/src/host/start/qm_osk.ico)
# 32-bit program: "Program Files (x86)" on 64-bit Windows.
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
# Our own NSIS.template.in (uninstall entry, settings choice, /S).
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_SOURCE_DIR}/cmake/nsis)
# The file names and each artefact's contents differ by generator.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/cpack-per-generator.cmake)
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
