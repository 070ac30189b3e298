# The Debian package: `cpack -G DEB` in a build folder (the release build for a delivery) gives
# xk-r40_<version>_<arch>.deb with the install's `program` and `desktop` components under /usr,
# the udev rule in /usr/lib/udev/rules.d and the user unit in /usr/lib/systemd/user; the
# per-user `uninstall` script and its list stay out (the package manager removes the package).
set(CPACK_PACKAGE_NAME xk-r40)
set(CPACK_PACKAGE_VENDOR "The xk-r40 developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility of the XK-R40 GAMING MOUSE")
# Lines of at most 80 characters, as Debian's control file wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Sets the four DPI levels, the wheel, the light and the fire time of the"
       "XK-R40 gaming mouse, gives each of its eight buttons a function, and records,"
       "edits and plays keyboard macros through the mouse, in five configurations and"
       "profile files, in English or Chinese. It runs in the tray and carries out the"
       "mouse's macro, media and program buttons; its udev rule starts it when the"
       "mouse is plugged in. xk-r40-ctl sets the mouse from a terminal or a script.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program desktop)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME xk-r40)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The xk-r40 developers <xk-r40@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/xk-r40/xk-r40)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The Qt platform plugin for X11 comes with libqt6gui6; the tray and GNOME's settings want these.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gsettings-desktop-schemas")

# Read by cpack before it installs: the install steps see that they lay out a package.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake)
file(WRITE ${CPACK_PROJECT_CONFIG_FILE} "set(ENV{XK_PACKAGING} 1)\n")

# The copyright file and the changelog Debian asks for (of a native package: no Debian
# revision in the version), into /usr/share/doc/xk-r40.
set(xk_doc ${CMAKE_BINARY_DIR}/package-doc)
file(MAKE_DIRECTORY ${xk_doc})
string(TIMESTAMP xk_now "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${xk_doc}/changelog
     "xk-r40 (${PROJECT_VERSION}) stable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n"
     " -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  ${xk_now}\n")
add_custom_command(
    OUTPUT ${xk_doc}/changelog.gz
    COMMAND gzip -9nkf ${xk_doc}/changelog
    DEPENDS ${xk_doc}/changelog
    VERBATIM)
add_custom_target(package-doc ALL DEPENDS ${xk_doc}/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/data/package/copyright ${xk_doc}/changelog.gz
        DESTINATION share/doc/xk-r40 COMPONENT package EXCLUDE_FROM_ALL)
list(APPEND CPACK_COMPONENTS_ALL package)

include(CPack)
