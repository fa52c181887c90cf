# Warnings for the project's own targets: clean under -Wall -Wextra.
# The Windows cross build treats them as errors: its 32-bit long and 16-bit wchar_t
# show faults the Linux build cannot.
function(orv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(WIN32)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
