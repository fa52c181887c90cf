# Warnings for the project's own targets: clean under -Wall -Wextra.
function(orv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
