# Cross-compiles tessaro.exe with MinGW-w64 into one static executable whose
# only imports are system DLLs; the Windows programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSARO_MINGW x86_64-w64-mingw32)
# The POSIX-threads flavour: GoogleTest needs std::mutex, which the win32
# flavour lacks. Linked statically, its thread library adds no DLL.
set(CMAKE_C_COMPILER ${TESSARO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSARO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSARO_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TESSARO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No libstdc++/libgcc DLLs beside the exe; unused code dropped at link time.
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")

# Every Windows program of the build (tests included) runs through our Wine
# wrapper, in a prefix private to this build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}/wineprefix")
