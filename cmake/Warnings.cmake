# Warnings on for our own targets; third-party code (GoogleTest) is left alone.
function(tessaro_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wconversion -Wsign-conversion -Wnon-virtual-dtor -Woverloaded-virtual
      -Wimplicit-fallthrough)
  endif()
endfunction()
