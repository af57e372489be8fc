# What every Windows target of the build shares: the wide API, a lean
# windows.h, Windows 7 as the oldest system, and symbols stripped only from
# release builds (a debug build keeps them for the debugger).
function(tessaro_windows_target target)
  if(NOT WIN32)
    return()
  endif()
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601 WINVER=0x0601)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
  endif()
endfunction()
