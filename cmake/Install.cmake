# Per-user install. `cmake --install build/release` lays the program out under ~/.local, or
# under --prefix:
#   lib/xk-r40/        the program folder, writable by its user: the executable, the skin,
#                      constMacro.dat, the udev rule, `uninstall`, and the person's config.ini,
#                      Macro_EN.dat and Macro_CN.dat, laid down only when missing
#   bin/xk-r40, bin/xk-r40-ctl   the launchers, links to the executables
#   share/applications/xk-r40.desktop and share/icons/hicolor/<size>/apps/xk-r40.png
# Components: `program` (the folder alone) and `desktop` make a plain install; `autostart`,
# asked for by name (--component autostart), adds the entry that starts it hidden at login.
# The presets set the prefix; a build without them gets the same default here.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix (per user)" FORCE)
endif()

set(XK_PROGRAM_FOLDER lib/xk-r40)
set(xk_install_script "${PROJECT_SOURCE_DIR}/cmake/InstallForUser.cmake")
set(xk_install_setup "set(XK_BIN_DIR [[${XK_BIN_DIR}]])
set(XK_INSTALL_DATA [[${PROJECT_SOURCE_DIR}/data/install]])
include([[${xk_install_script}]])")

install(TARGETS xk-r40 xk-r40-ctl RUNTIME DESTINATION ${XK_PROGRAM_FOLDER} COMPONENT program)
install(DIRECTORY ${XK_BIN_DIR}/skins DESTINATION ${XK_PROGRAM_FOLDER} COMPONENT program)
install(FILES ${XK_BIN_DIR}/constMacro.dat ${PROJECT_SOURCE_DIR}/data/udev/70-xk-r40.rules
        DESTINATION ${XK_PROGRAM_FOLDER} COMPONENT program)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/data/install/uninstall
        DESTINATION ${XK_PROGRAM_FOLDER} COMPONENT program)
install(CODE "${xk_install_setup}\nxk_install_person_files()" COMPONENT program)

install(DIRECTORY ${XK_ICON_DIR} DESTINATION share/icons COMPONENT desktop)
install(CODE "${xk_install_setup}\nxk_install_launcher()\nxk_install_menu_entry()"
        COMPONENT desktop)

install(CODE "${xk_install_setup}\nxk_install_autostart_entry()"
        COMPONENT autostart EXCLUDE_FROM_ALL)

install(CODE "${xk_install_setup}\nxk_write_manifest()\nxk_tell_what_is_next()" ALL_COMPONENTS)
