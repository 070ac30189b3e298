# `cmake --install build/release` lays the program out under ~/.local, or under --prefix (any
# prefix, /usr as root included):
#   bin/xk-r40, bin/xk-r40-ctl   the programs
#   share/xk-r40/                their read-only data, found from bin/ as ../share/xk-r40: the
#                                skin, constMacro.dat, the delivered config.ini and macro files
#                                that each person's files start from, the udev rule, `uninstall`
#   share/applications/<desktop id>.desktop, share/metainfo/<desktop id>.metainfo.xml and
#   share/icons/hicolor/{<size>,scalable}/apps/xk-r40.{png,svg}
#   share/man/man1/xk-r40.1.gz, xk-r40-ctl.1.gz and share/bash-completion/completions/xk-r40-ctl
#   the systemd user unit xk-r40.service, which the udev rule starts when the mouse arrives:
#   lib/systemd/user under /usr, share/systemd/user elsewhere (~/.local among them)
# Each person's config.ini and macro files are not installed: the programs make them in
# $XDG_CONFIG_HOME/xk-r40 from the delivered ones when missing.
# Components: `program`, `desktop` and `uninstall` (the script) make a plain install;
# `autostart`, asked for by name (--component autostart), adds the entry that starts it hidden
# at login. The Debian package (cmake/Package.cmake) takes `program` and `desktop`.
# The presets set the prefix; a build without them gets the same default here.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix (per user)" FORCE)
endif()

set(XK_DATA_FOLDER share/xk-r40)
set(xk_install_script "${PROJECT_SOURCE_DIR}/cmake/InstallForUser.cmake")
set(xk_install_setup "set(XK_INSTALL_DATA [[${PROJECT_SOURCE_DIR}/data/install]])
set(XK_SYSTEMD_DATA [[${PROJECT_SOURCE_DIR}/data/systemd]])
set(XK_DESKTOP_ID [[${XK_DESKTOP_ID}]])
include([[${xk_install_script}]])")
set(xk_metainfo ${CMAKE_BINARY_DIR}/${XK_DESKTOP_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/data/install/metainfo.xml.in ${xk_metainfo} @ONLY)

# First, what an install of the former layout (everything in lib/xk-r40) left of the program.
install(CODE "${xk_install_setup}\nxk_remove_former_layout()" COMPONENT program)
install(TARGETS xk-r40 xk-r40-ctl RUNTIME DESTINATION bin COMPONENT program)
install(DIRECTORY ${XK_BIN_DIR}/skins DESTINATION ${XK_DATA_FOLDER} COMPONENT program)
install(FILES ${XK_BIN_DIR}/constMacro.dat ${XK_BIN_DIR}/config.ini ${XK_BIN_DIR}/Macro_EN.dat
              ${XK_BIN_DIR}/Macro_CN.dat ${PROJECT_SOURCE_DIR}/data/udev/70-xk-r40.rules
        DESTINATION ${XK_DATA_FOLDER} COMPONENT program)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/data/install/uninstall
        DESTINATION ${XK_DATA_FOLDER} COMPONENT uninstall)
install(FILES ${XK_MANUALS} DESTINATION share/man/man1 COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/xk-r40-ctl
        DESTINATION share/bash-completion/completions COMPONENT program)
install(CODE "${xk_install_setup}
xk_install_user_unit()
if(xk_packaging)
    xk_install_package_udev_rule()
endif()" COMPONENT program)

install(DIRECTORY ${XK_ICON_DIR} DESTINATION share/icons COMPONENT desktop)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/xk-r40.svg
        DESTINATION share/icons/hicolor/scalable/apps COMPONENT desktop)
install(FILES ${xk_metainfo} DESTINATION share/metainfo COMPONENT desktop)
install(CODE "${xk_install_setup}\nxk_install_menu_entry()" COMPONENT desktop)

install(CODE "${xk_install_setup}\nxk_install_autostart_entry()"
        COMPONENT autostart EXCLUDE_FROM_ALL)

# The list for `uninstall` and the next steps, for an install that is no package.
install(CODE "${xk_install_setup}
if(NOT xk_packaging)
    xk_write_manifest()
    xk_tell_what_is_next()
endif()" ALL_COMPONENTS)
