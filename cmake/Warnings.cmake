# Warnings are errors for every target of the project.
function(xk_target_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wnull-dereference
        -Wimplicit-fallthrough -Werror)
endfunction()
