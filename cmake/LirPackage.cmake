# Installation (cmake --install) into the layout of a Debian system, and the
# .deb that CPack builds from it (make package). Included at the end of the
# top-level CMakeLists.txt, after every program target exists.

include(GNUInstallDirs)

# Directories made by the installation are 0755 whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(lir_pkg_name lircomplect)
set(lir_share_dir ${CMAKE_INSTALL_DATAROOTDIR}/${lir_pkg_name})
set(lir_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${lir_pkg_name})
set(lir_man1_dir ${CMAKE_INSTALL_MANDIR}/man1)
set(lir_pkg_build ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${lir_pkg_build})

# ---------------------------------------------------------------- who and when
# The Maintainer field names the people who maintain the package: the project's
# developers. Their identity is the one the source tree records for its
# commits; a packager may name another one (LIR_PACKAGE_MAINTAINER, or Debian's
# DEBFULLNAME and DEBEMAIL). Nothing is made up: without any of them the
# package cannot be built and CPack says so.
set(LIR_PACKAGE_MAINTAINER "" CACHE STRING "Maintainer field of the .deb (Name <address>); empty: DEBFULLNAME/DEBEMAIL, else the author of the packaged commit")
find_package(Git QUIET)
set(lir_maintainer "${LIR_PACKAGE_MAINTAINER}")
if(NOT lir_maintainer AND NOT "$ENV{DEBFULLNAME}" STREQUAL "" AND NOT "$ENV{DEBEMAIL}" STREQUAL "")
  set(lir_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
endif()
if(NOT lir_maintainer AND Git_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} log -1 "--format=%an <%ae>"
                  OUTPUT_VARIABLE lir_maintainer OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT lir_maintainer)
  message(STATUS "No package maintainer known: set LIR_PACKAGE_MAINTAINER to build the .deb")
endif()

# The release date of the metainfo and the changelog: the date of the packaged
# commit, so that two builds of one commit make the same package.
set(lir_release_epoch "")
if(Git_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE lir_release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(lir_release_epoch MATCHES "^[0-9]+$")
  set(lir_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} ${lir_release_epoch})
  string(TIMESTAMP LIR_RELEASE_DATE "%Y-%m-%d" UTC)
  string(TIMESTAMP LIR_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
  set(ENV{SOURCE_DATE_EPOCH} "${lir_saved_epoch}")
else()
  string(TIMESTAMP LIR_RELEASE_DATE "%Y-%m-%d" UTC)
  string(TIMESTAMP LIR_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
endif()
set(LIR_PACKAGE_MAINTAINER_FIELD "${lir_maintainer}")

# ---------------------------------------------------------------- files made by the build
# Manual pages and the changelog are installed gzip-compressed without a time
# stamp, as Debian wants them.
# The price table companion comes with its own page and lines in the texts
# of the package when it is built.
set(LIR_PRICES_LINE "")
set(LIR_PRICES_PROVIDES "")
if(TARGET lircomplect-prices)
  set(LIR_PRICES_LINE "\nThe command lircomplect-prices checks and extends a price table.")
  set(LIR_PRICES_PROVIDES "\n    <binary>lircomplect-prices</binary>")
endif()
configure_file(${CMAKE_SOURCE_DIR}/packaging/description.txt ${lir_pkg_build}/description.txt @ONLY)

set(lir_man_pages lircomplect-kit)
if(TARGET LIRComplect)
  list(APPEND lir_man_pages lircomplect)
endif()
if(TARGET lircomplect-prices)
  list(APPEND lir_man_pages lircomplect-prices)
endif()

set(lir_gz_outputs)
function(lir_gzip_file source name)
  set(copy ${lir_pkg_build}/${name})
  add_custom_command(
      OUTPUT ${copy}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
      COMMAND gzip -9nf ${copy}
      DEPENDS ${source}
      VERBATIM)
  set(lir_gz_outputs ${lir_gz_outputs} ${copy}.gz PARENT_SCOPE)
endfunction()

foreach(page ${lir_man_pages})
  configure_file(${CMAKE_SOURCE_DIR}/packaging/man/${page}.1 ${lir_pkg_build}/man/${page}.1 @ONLY)
  lir_gzip_file(${lir_pkg_build}/man/${page}.1 ${page}.1)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${lir_pkg_build}/changelog.txt @ONLY)
lir_gzip_file(${lir_pkg_build}/changelog.txt changelog)
add_custom_target(lir_package_files ALL DEPENDS ${lir_gz_outputs})

# ---------------------------------------------------------------- install rules
install(TARGETS lircomplect-kit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET lircomplect-prices)
  install(TARGETS lircomplect-prices RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_BINARY_DIR}/zeni.db DESTINATION ${lir_share_dir}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

foreach(page ${lir_man_pages})
  install(FILES ${lir_pkg_build}/${page}.1.gz DESTINATION ${lir_man1_dir})
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${lir_doc_dir})
install(FILES ${lir_pkg_build}/changelog.gz DESTINATION ${lir_doc_dir})

if(TARGET LIRComplect)
  install(TARGETS LIRComplect RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/lircomplect DESTINATION ${CMAKE_INSTALL_BINDIR})
  # One manual page tells of the launcher and the program it starts.
  file(CREATE_LINK lircomplect.1.gz ${lir_pkg_build}/LIRComplect.1.gz SYMBOLIC)
  install(FILES ${lir_pkg_build}/LIRComplect.1.gz DESTINATION ${lir_man1_dir})

  install(FILES ${CMAKE_SOURCE_DIR}/packaging/lircomplect.desktop
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/pictures/emblem.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps RENAME lircomplect.svg)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/lircomplect.metainfo.xml
                 ${lir_pkg_build}/lircomplect.metainfo.xml @ONLY)
  install(FILES ${lir_pkg_build}/lircomplect.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

  # The user guide; the About window finds it at ../share/doc/lircomplect/
  # beside the program.
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/guide/ DESTINATION ${lir_doc_dir}
          FILES_MATCHING PATTERN "*.html" PATTERN "*.png" PATTERN "*.css")
  # Registers the guide with Debian's doc-base, naming it under the prefix
  # of this installation.
  install(CODE "
    set(LIR_DOC_DIR \"\${CMAKE_INSTALL_PREFIX}/${lir_doc_dir}\")
    configure_file(\"${CMAKE_SOURCE_DIR}/packaging/lircomplect.doc-base\" \"${lir_pkg_build}/lircomplect.doc-base\" @ONLY)")
  install(FILES ${lir_pkg_build}/lircomplect.doc-base DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc-base
          RENAME ${lir_pkg_name})
endif()

# ---------------------------------------------------------------- the .deb
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${lir_pkg_name})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculator of window fitting kits of the LIR systems")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${lir_pkg_build}/description.txt)
set(CPACK_PACKAGE_CONTACT "${lir_maintainer}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${lir_maintainer}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so no library links them: the fonts the windows are
# designed with, the SQLite driver of Qt, Qt's own Russian texts and pxlib,
# which reads the old program's Paradox tables.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra, fonts-wine, libqt6sql6-sqlite, qt6-translations-l10n, pxlib1")
# EXCEL opens its workbooks in a spreadsheet application when one is present.
# The PostgreSQL driver is loaded only where lircomplect.ini names a server.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric")
set(CPACK_STRIP_FILES ON)
include(CPack)
