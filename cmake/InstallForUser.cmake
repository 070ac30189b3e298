# Install-time steps of cmake/Install.cmake that a plain copy cannot do. Runs inside
# `cmake --install` with XK_INSTALL_DATA (data/install) set; paths honour --prefix and DESTDIR.
cmake_policy(VERSION 3.25)
set(xk_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(xk_folder "${CMAKE_INSTALL_PREFIX}/share/xk-r40")
set(xk_launcher "${CMAKE_INSTALL_PREFIX}/bin/xk-r40")
# The folder where the former layout kept the program and each person's files.
set(xk_former_folder lib/xk-r40)
set(xk_person_files config.ini Macro_EN.dat Macro_CN.dat)
# Set while CPack lays out the Debian package: what only a per-user install needs is left out.
set(xk_packaging "$ENV{XK_PACKAGING}")

# The former layout's program files go (those its list names); the person's files stay there
# for the programs to move into the person's folder at their next start. Its launchers were
# links into that folder: an install through them would write into the old executables.
macro(xk_remove_former_layout)
    foreach(xk_program IN ITEMS xk-r40 xk-r40-ctl)
        if(IS_SYMLINK "${xk_root}/bin/${xk_program}")
            file(REMOVE "${xk_root}/bin/${xk_program}")
        endif()
    endforeach()
    set(xk_former_list "${xk_root}/${xk_former_folder}/installed-files")
    if(EXISTS "${xk_former_list}")
        file(STRINGS "${xk_former_list}" xk_listed)
        foreach(xk_file IN LISTS xk_listed)
            cmake_path(GET xk_file FILENAME xk_name)
            string(FIND "${xk_file}" "${xk_former_folder}/" xk_at)
            if(xk_at EQUAL 0 AND NOT xk_file MATCHES "(^|/)\\.\\.(/|$)"
               AND NOT xk_name IN_LIST xk_person_files)
                file(REMOVE "${xk_root}/${xk_file}")
            endif()
        endforeach()
        file(REMOVE "${xk_former_list}")
        file(GLOB_RECURSE xk_left LIST_DIRECTORIES true "${xk_root}/${xk_former_folder}/*")
        list(SORT xk_left ORDER DESCENDING)
        foreach(xk_dir IN LISTS xk_left)
            if(IS_DIRECTORY "${xk_dir}")
                file(GLOB xk_inside "${xk_dir}/*")
                if(NOT xk_inside)
                    file(REMOVE_RECURSE "${xk_dir}")
                endif()
            endif()
        endforeach()
        message(STATUS "Removed the former program from ${xk_root}/${xk_former_folder}; "
                       "xk-r40 moves your config.ini and macro files from there to "
                       "~/.config/xk-r40 when it next starts")
    endif()
endmacro()

# The launcher's path as a desktop entry's Exec names it: quoted, with ", `, $ and \ escaped
# for the quotes and then for the string, and % doubled.
function(xk_desktop_exec out)
    set(path "${xk_launcher}")
    string(REPLACE "\\" "\\\\\\\\" path "${path}")
    string(REPLACE "\"" "\\\\\"" path "${path}")
    string(REPLACE "`" "\\\\`" path "${path}")
    string(REPLACE "$" "\\\\$" path "${path}")
    string(REPLACE "%" "%%" path "${path}")
    set(${out} "\"${path}\"" PARENT_SCOPE)
endfunction()

# Writes TEMPLATE with XK_EXEC, its Exec line's program, to FILE.
function(xk_write_with_exec template file)
    file(READ "${template}" text)
    string(CONFIGURE "${text}" text @ONLY)
    message(STATUS "Installing: ${file}")
    file(WRITE "${file}" "${text}")
endfunction()

function(xk_write_desktop_entry template file)
    xk_desktop_exec(XK_EXEC)
    xk_write_with_exec("${XK_INSTALL_DATA}/${template}" "${file}")
endfunction()

# The menu entry is named by the desktop id, which the metainfo and the window's app id share;
# the entry of earlier installs, xk-r40.desktop, goes.
macro(xk_install_menu_entry)
    set(xk_entry "share/applications/${XK_DESKTOP_ID}.desktop")
    xk_write_desktop_entry(program.desktop.in "${xk_root}/${xk_entry}")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_PREFIX}/${xk_entry}")
    if(EXISTS "${xk_root}/share/applications/xk-r40.desktop")
        file(REMOVE "${xk_root}/share/applications/xk-r40.desktop")
    endif()
endmacro()

# The launcher's path as a systemd unit's ExecStart names it: quoted, with \ and " escaped,
# % and $ doubled.
function(xk_unit_exec out)
    set(path "${xk_launcher}")
    string(REPLACE "\\" "\\\\" path "${path}")
    string(REPLACE "\"" "\\\"" path "${path}")
    string(REPLACE "%" "%%" path "${path}")
    string(REPLACE "$" "$$" path "${path}")
    set(${out} "\"${path}\"" PARENT_SCOPE)
endfunction()

# The systemd user unit that the udev rule starts when the mouse arrives: where the user's
# service manager looks for it under this prefix.
macro(xk_install_user_unit)
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(xk_unit_folder lib/systemd/user)
    else()
        set(xk_unit_folder share/systemd/user)
    endif()
    xk_unit_exec(XK_EXEC)
    xk_write_with_exec("${XK_SYSTEMD_DATA}/xk-r40.service.in"
                       "${xk_root}/${xk_unit_folder}/xk-r40.service")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES
         "${CMAKE_INSTALL_PREFIX}/${xk_unit_folder}/xk-r40.service")
endmacro()

# The package's udev rule, where udev reads the rules of packages. An install from source
# leaves that to root, from the rule's text (xk_tell_what_is_next).
macro(xk_install_package_udev_rule)
    file(INSTALL "${xk_root}/share/xk-r40/70-xk-r40.rules"
         DESTINATION "${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d")
endmacro()

# In the user's autostart folder, whatever the prefix.
macro(xk_install_autostart_entry)
    if(DEFINED ENV{XDG_CONFIG_HOME} AND NOT "$ENV{XDG_CONFIG_HOME}" STREQUAL "")
        set(xk_autostart "$ENV{XDG_CONFIG_HOME}/autostart")
    else()
        set(xk_autostart "$ENV{HOME}/.config/autostart")
    endif()
    xk_write_desktop_entry(xk-r40-autostart.desktop.in "${xk_autostart}/xk-r40.desktop")
    message(STATUS "xk-r40 starts in the tray at login; to stop that, remove "
                   "${xk_autostart}/xk-r40.desktop")
endmacro()

# The data folder's `installed-files`: every file installed under the prefix, relative to it;
# what earlier installs listed stays listed. `uninstall` reads it.
macro(xk_write_manifest)
    set(xk_manifest "$ENV{DESTDIR}${xk_folder}/installed-files")
    if(IS_DIRECTORY "$ENV{DESTDIR}${xk_folder}")
        set(xk_listed "")
        if(EXISTS "${xk_manifest}")
            file(STRINGS "${xk_manifest}" xk_listed)
        endif()
        foreach(xk_file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
            if(NOT "$ENV{DESTDIR}" STREQUAL "")
                string(LENGTH "$ENV{DESTDIR}" xk_length)
                string(SUBSTRING "${xk_file}" 0 ${xk_length} xk_start)
                if(xk_start STREQUAL "$ENV{DESTDIR}")
                    string(SUBSTRING "${xk_file}" ${xk_length} -1 xk_file)
                endif()
            endif()
            cmake_path(IS_PREFIX CMAKE_INSTALL_PREFIX "${xk_file}" NORMALIZE xk_inside)
            if(xk_inside)
                cmake_path(RELATIVE_PATH xk_file BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
                list(APPEND xk_listed "${xk_file}")
            endif()
        endforeach()
        list(REMOVE_DUPLICATES xk_listed)
        list(SORT xk_listed)
        list(JOIN xk_listed "\n" xk_text)
        file(WRITE "${xk_manifest}" "${xk_text}\n")
    endif()
endmacro()

macro(xk_tell_what_is_next)
    if(NOT CMAKE_INSTALL_COMPONENT OR CMAKE_INSTALL_COMPONENT STREQUAL "desktop")
        set(xk_rule /etc/udev/rules.d/70-xk-r40.rules)
        message(STATUS "xk-r40 is installed in ${CMAKE_INSTALL_PREFIX}; start it from the "
                       "desktop's menu or with ${xk_launcher}. Each user's settings and macros "
                       "are kept in their own ~/.config/xk-r40 (XDG_CONFIG_HOME)")
        set(xk_ours "$ENV{DESTDIR}${xk_folder}/70-xk-r40.rules")
        if(EXISTS "${xk_rule}" AND EXISTS "${xk_ours}")
            file(SHA256 "${xk_rule}" xk_installed_rule)
            file(SHA256 "${xk_ours}" xk_our_rule)
        endif()
        if(NOT EXISTS "${xk_rule}" OR NOT xk_installed_rule STREQUAL xk_our_rule)
            # The rule is shown and written from its text, not copied as root from a folder
            # that the user (or anything the user runs) can change.
            file(STRINGS "${xk_ours}" xk_rule_line REGEX "^KERNEL==")
            file(SHA256 "${xk_ours}" xk_our_rule)
            message(STATUS "To use the mouse without root, install its udev rule once. It is this "
                           "line (the file's SHA-256: ${xk_our_rule}):\n"
                           "  ${xk_rule_line}\n"
                           "  echo '${xk_rule_line}' | sudo tee ${xk_rule} >/dev/null"
                           " && sudo udevadm control --reload-rules\n  then replug the mouse")
        endif()
        message(STATUS "Remove it with ${xk_folder}/uninstall (--purge also removes "
                       "your config.ini and macro files)")
    endif()
endmacro()
