# Cross-building for 64-bit Windows with Debian's mingw-w64 (POSIX threads flavour,
# for std::thread and std::mutex):
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The file names the compilers and where to look for libraries only: the Windows
# libraries (Qt, libpng, ...) are built with it too, so it adds no definitions or
# flags to their compiles. Ours are on the target tavisto_windows (CMakeLists.txt).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVISTO_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TAVISTO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVISTO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVISTO_MINGW_PREFIX}-windres)

# The Windows libraries' folder (scripts/windows.sh), given in the environment so
# that CMake's configure checks see it too, is searched before mingw's own.
set(CMAKE_FIND_ROOT_PATH $ENV{TAVISTO_WINDOWS_PREFIX} /usr/${TAVISTO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
