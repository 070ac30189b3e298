# `cmake --install build/release` lays the program out under ~/.local, or under --prefix (any
# prefix, /usr as root included):
#   bin/xk-r40, bin/xk-r40-ctl   the programs
#   share/xk-r40/                their read-only data, found from bin/ as ../share/xk-r40: the
#                                skin, constMacro.dat, the delivered config.ini and macro files
#                                that each person's files start from, the udev rule, `uninstall`
#   share/applications/xk-r40.desktop and share/icons/hicolor/<size>/apps/xk-r40.png
# Each person's config.ini and macro files are not installed: the programs make them in
# $XDG_CONFIG_HOME/xk-r40 from the delivered ones when missing.
# Components: `program` and `desktop` make a plain install; `autostart`, asked for by name
# (--component autostart), adds the entry that starts it hidden at login.
# The presets set the prefix; a build without them gets the same default here.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix (per user)" FORCE)
endif()

set(XK_DATA_FOLDER share/xk-r40)
set(xk_install_script "${PROJECT_SOURCE_DIR}/cmake/InstallForUser.cmake")
set(xk_install_setup "set(XK_INSTALL_DATA [[${PROJECT_SOURCE_DIR}/data/install]])
include([[${xk_install_script}]])")

# First, what an install of the former layout (everything in lib/xk-r40) left of the program.
install(CODE "${xk_install_setup}\nxk_remove_former_layout()" COMPONENT program)
install(TARGETS xk-r40 xk-r40-ctl RUNTIME DESTINATION bin COMPONENT program)
install(DIRECTORY ${XK_BIN_DIR}/skins DESTINATION ${XK_DATA_FOLDER} COMPONENT program)
install(FILES ${XK_BIN_DIR}/constMacro.dat ${XK_BIN_DIR}/config.ini ${XK_BIN_DIR}/Macro_EN.dat
              ${XK_BIN_DIR}/Macro_CN.dat ${PROJECT_SOURCE_DIR}/data/udev/70-xk-r40.rules
        DESTINATION ${XK_DATA_FOLDER} COMPONENT program)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/data/install/uninstall
        DESTINATION ${XK_DATA_FOLDER} COMPONENT program)

install(DIRECTORY ${XK_ICON_DIR} DESTINATION share/icons COMPONENT desktop)
install(CODE "${xk_install_setup}\nxk_install_menu_entry()" COMPONENT desktop)

install(CODE "${xk_install_setup}\nxk_install_autostart_entry()"
        COMPONENT autostart EXCLUDE_FROM_ALL)

install(CODE "${xk_install_setup}\nxk_write_manifest()\nxk_tell_what_is_next()" ALL_COMPONENTS)
