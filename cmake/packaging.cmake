# Installation rules and Debian packages (`cpack -G DEB`, see scripts/package): the application
# with zorvan-cli, and the server. Binaries are stripped; their debug information goes into
# separate -dbgsym packages. The packaged application is a seed: started without an installation
# of the user's own it offers to install itself into the user's folder, as any copy of it does.
include(GNUInstallDirs)

set(ZT_PACKAGED_EXE /usr/lib/zorvan-tv/zorvan_tv)
set(zt_pkg_dir ${PROJECT_SOURCE_DIR}/packaging)
set(zt_pkg_out ${CMAKE_BINARY_DIR}/packaging)

# Debian wants a changelog in every package, compressed without a time stamp.
file(WRITE ${zt_pkg_out}/changelog
     "zorvan-tv (${PROJECT_VERSION}) stable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n"
     " -- ЗОРВАН <support@tv.zorvan.example>  Fri, 11 Dec 2026 00:00:00 +0000\n")
find_program(ZT_GZIP gzip)
add_custom_command(
  OUTPUT ${zt_pkg_out}/changelog.gz
  COMMAND ${ZT_GZIP} -n -9 -c ${zt_pkg_out}/changelog > ${zt_pkg_out}/changelog.gz
  DEPENDS ${zt_pkg_out}/changelog
  VERBATIM)
add_custom_target(zt_package_files ALL DEPENDS ${zt_pkg_out}/changelog.gz)

configure_file(${zt_pkg_dir}/zorvan-tv.in ${zt_pkg_out}/zorvan-tv @ONLY)
configure_file(${zt_pkg_dir}/example.zorvan.ZorvanTV.metainfo.xml
               ${zt_pkg_out}/example.zorvan.ZorvanTV.metainfo.xml @ONLY)

if(TARGET zorvan_tv)
  install(TARGETS zorvan_tv RUNTIME DESTINATION lib/zorvan-tv COMPONENT app)
  install(PROGRAMS ${zt_pkg_out}/zorvan-tv DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT app)
  install(FILES ${zt_pkg_dir}/zorvan-tv.desktop DESTINATION share/applications COMPONENT app)
  install(FILES ${zt_pkg_out}/example.zorvan.ZorvanTV.metainfo.xml DESTINATION share/metainfo
          COMPONENT app)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icon_${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME zorvan-tv.png COMPONENT app)
  endforeach()
endif()
install(TARGETS zorvan-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT app)
install(TARGETS zorvan-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT server)
# The systemd units for the server (serving, and the schedule's nightly ingest) as found here.
file(GLOB zt_units ${zt_pkg_dir}/*.service ${zt_pkg_dir}/*.timer)
if(zt_units)
  install(FILES ${zt_units} DESTINATION lib/systemd/system COMPONENT server)
endif()
foreach(component app server)
  set(package zorvan-tv)
  if(component STREQUAL server)
    set(package zorvan-server)
  endif()
  install(FILES ${zt_pkg_dir}/copyright ${zt_pkg_out}/changelog.gz
          DESTINATION share/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvan-tv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ЗОРВАН")
set(CPACK_PACKAGE_CONTACT "ЗОРВАН <support@tv.zorvan.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# CPackDeb strips the binaries itself when it moves their debug information to -dbgsym.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL app server)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_APP_PACKAGE_NAME zorvan-tv)
set(CPACK_DEBIAN_APP_PACKAGE_SECTION video)
set(CPACK_DEBIAN_APP_DESCRIPTION
    "television schedule with reminders and printing
ЗОРВАН. Телепрограмма. keeps the schedule of the previous,
current and next week, downloads it from the service's server
or imports it from a file (also XMLTV), shows what is on now,
what starts soon, the schedule by day and a search, and fires
reminders. The package also holds zorvan-cli, the program's
command-line companion.")
set(CPACK_DEBIAN_APP_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
set(CPACK_DEBIAN_APP_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, qt6-image-formats-plugins, gstreamer1.0-plugins-good, xdg-utils")
set(CPACK_DEBIAN_SERVER_PACKAGE_NAME zorvan-server)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION net)
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_SERVER_DESCRIPTION
    "television schedule server
zorvan-server keeps accounts, channels, packages and programme
days in one database and answers every call the ЗОРВАН.
Телепрограмма. application makes; it ingests generated and
XMLTV schedules.")
include(CPack)

if(ZT_BUILD_TESTS)
  # Builds the packages into a temporary folder and checks them (layout, launcher, desktop
  # entry, AppStream data, debug symbols, lintian).
  add_test(NAME package COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-package ${CMAKE_BINARY_DIR})
  set_tests_properties(package PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
