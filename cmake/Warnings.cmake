# Warnings are errors for every target of the project.
function(xk_target_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wnull-dereference
        -Wimplicit-fallthrough -Werror
        # GCC 12's optimiser warns falsely about std::string inserts (restrict) and
        # std::optional members (maybe-uninitialized); Debug builds keep both checks.
        $<$<AND:$<CXX_COMPILER_ID:GNU>,$<NOT:$<CONFIG:Debug>>>:-Wno-restrict -Wno-maybe-uninitialized>)
endfunction()
