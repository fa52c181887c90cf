# Clang's thread-safety analysis: the lock annotations of the framework and the
# driver (ddk/ThreadSafety.h) are checked, and a broken one fails the build.
option(ORV_THREAD_SAFETY_ANALYSIS "Check the lock annotations with Clang's -Wthread-safety" OFF)
if(ORV_THREAD_SAFETY_ANALYSIS AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "ORV_THREAD_SAFETY_ANALYSIS needs Clang (-DCMAKE_CXX_COMPILER=clang++)")
endif()

# Turns the analysis on for the given targets when the option is set.
function(orv_thread_safety)
  if(ORV_THREAD_SAFETY_ANALYSIS)
    foreach(target IN LISTS ARGN)
      target_compile_options(${target} PRIVATE -Wthread-safety -Werror=thread-safety)
    endforeach()
  endif()
endfunction()
