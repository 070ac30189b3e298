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

function(xk_manual program name)
    set(page ${XK_MAN_DIR}/${program}.1)
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${XK_MAN_DIR}
        # A sanitizer build's leak report at exit is no fault of the help text.
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                ${XK_HELP2MAN} --no-info --section=1 --name=${name}
                --output=${page} $<TARGET_FILE:${program}>
        COMMAND gzip -9nf ${page}
        DEPENDS ${program}
        COMMENT "Manual page ${program}(1)"
        VERBATIM)
    set(XK_MANUALS ${XK_MANUALS} ${page}.gz PARENT_SCOPE)
endfunction()

xk_manual(xk-r40 "configuration utility of the XK-R40 GAMING MOUSE")
xk_manual(xk-r40-ctl "the XK-R40 GAMING MOUSE from a terminal or a script")
add_custom_target(manuals ALL DEPENDS ${XK_MANUALS})
