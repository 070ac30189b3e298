# The manual pages xk-r40(1) and xk-r40-ctl(1), made by help2man from the programs' --help and
# --version, so that they say what the programs say; gzipped for the install. Without help2man
# the build goes on without them.
find_program(XK_HELP2MAN help2man)
set(XK_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(XK_MANUALS "")
if(NOT XK_HELP2MAN)
    message(STATUS "help2man not found: no manual pages (scripts/setup installs it)")
    return()
endif()

# A sanitizer build's leak report at exit is no fault of the help text.
set(xk_help_env ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0)

# xk_manual(PROGRAM NAME [INCLUDE FILE COMMAND...]): INCLUDE, made by COMMAND, adds sections.
function(xk_manual program name)
    set(page ${XK_MAN_DIR}/${program}.1)
    set(include "")
    set(make_include "")
    if(ARGC GREATER 3)
        set(include --include=${ARGV3})
        list(SUBLIST ARGV 4 -1 make_include)
        set(make_include COMMAND ${make_include})
    endif()
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${XK_MAN_DIR}
        ${make_include}
        COMMAND ${xk_help_env} ${XK_HELP2MAN} --no-info --section=1 --name=${name} ${include}
                --output=${page} $<TARGET_FILE:${program}>
        COMMAND gzip -9nf ${page}
        DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/ManualCommands.cmake
        COMMENT "Manual page ${program}(1)"
        VERBATIM)
    set(XK_MANUALS ${XK_MANUALS} ${page}.gz PARENT_SCOPE)
endfunction()

xk_manual(xk-r40 "configuration utility of the XK-R40 GAMING MOUSE")
# xk-r40-ctl's page also holds the help of each command.
set(xk_commands ${XK_MAN_DIR}/xk-r40-ctl-commands.h2m)
xk_manual(xk-r40-ctl "the XK-R40 GAMING MOUSE from a terminal or a script"
          INCLUDE ${xk_commands}
          ${xk_help_env} ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:xk-r40-ctl>
          -DOUTPUT=${xk_commands} -P ${PROJECT_SOURCE_DIR}/cmake/ManualCommands.cmake)
add_custom_target(manuals ALL DEPENDS ${XK_MANUALS})
