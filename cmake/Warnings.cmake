# Warnings on for our own targets; third-party code (GoogleTest) is left alone.
# CI turns them into errors (TESSARO_WERROR), so a new warning cannot land.
option(TESSARO_WERROR "Treat warnings as errors" OFF)

function(tessaro_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive-)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
      -Wconversion -Wsign-conversion -Wnon-virtual-dtor -Woverloaded-virtual
      -Wimplicit-fallthrough)
  endif()
  if(TESSARO_WERROR)
    target_compile_options(${target} PRIVATE $<IF:$<BOOL:${MSVC}>,/WX,-Werror>)
  endif()
endfunction()
