# Cross-building for 64-bit Windows with Debian's mingw-w64 (POSIX threads flavour,
# for std::thread and std::mutex):
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DTAVISTO_PLATFORM_LAYERS_ONLY=ON
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVISTO_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TAVISTO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVISTO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVISTO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVISTO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry the compiler's own run-time libraries, so wine (or a Windows
# machine) runs them without the mingw DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Windows 7 and later: CancelIoEx, GetTickCount64.
add_compile_definitions(_WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
