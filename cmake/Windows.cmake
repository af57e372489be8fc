# What every Windows target of ours shares: the wide API, a lean windows.h,
# Windows 7 as the oldest system, and symbols stripped from release
# executables (a debug build keeps them for the debugger). Call it for each
# target that is built for Windows; elsewhere it does nothing.
#   WIDE_ENTRY       the program starts at wmain or wWinMain
#   SINGLE_THREADED  one UI thread: no thread-safe static initialisation code
function(tessaro_windows_target target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WIDE_ENTRY;SINGLE_THREADED" "" "")
  if(NOT WIN32)
    return()
  endif()
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0601 WINVER=0x0601)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
  endif()
  # The flags only GCC (MinGW-w64) knows.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    if(arg_WIDE_ENTRY)
      target_link_options(${target} PRIVATE -municode)
    endif()
    if(arg_SINGLE_THREADED)
      target_compile_options(${target} PRIVATE -fno-threadsafe-statics)
    endif()
  endif()
endfunction()
