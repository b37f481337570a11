# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVESKO_BUILD_GUI=OFF
# The programs link their C++ runtime statically, so a bare .exe runs on Windows or under Wine.
# When Wine is installed, tests run through it (see VESKO_WINE_PREFIX below).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VESKO_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix flavour: std::thread, std::mutex and friends come from winpthreads.
find_program(CMAKE_C_COMPILER NAMES ${VESKO_MINGW_TRIPLE}-gcc-posix ${VESKO_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VESKO_MINGW_TRIPLE}-g++-posix ${VESKO_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VESKO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VESKO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# nlohmann-json is headers only: the build machine's copy (nlohmann-json3-dev) serves the Windows build
# too. Its CMake package is copied into a root of its own whose include folder holds nothing but a link
# to its headers: the package would otherwise add /usr/include, the build machine's C library headers.
set(VESKO_HOST_ONLY_ROOT "${CMAKE_BINARY_DIR}/host-header-packages")
if(EXISTS /usr/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake
   AND NOT EXISTS "${VESKO_HOST_ONLY_ROOT}/usr/include/nlohmann")
  file(COPY /usr/share/cmake/nlohmann_json DESTINATION "${VESKO_HOST_ONLY_ROOT}/usr/share/cmake")
  file(MAKE_DIRECTORY "${VESKO_HOST_ONLY_ROOT}/usr/include")
  file(CREATE_LINK /usr/include/nlohmann "${VESKO_HOST_ONLY_ROOT}/usr/include/nlohmann" SYMBOLIC)
endif()
# toml++ (libtomlplusplus-dev), used whole from its header, is linked in the same way.
if(EXISTS /usr/include/toml++/toml.h AND NOT EXISTS "${VESKO_HOST_ONLY_ROOT}/usr/include/toml++")
  file(MAKE_DIRECTORY "${VESKO_HOST_ONLY_ROOT}/usr/include")
  file(CREATE_LINK /usr/include/toml++ "${VESKO_HOST_ONLY_ROOT}/usr/include/toml++" SYMBOLIC)
endif()
list(APPEND CMAKE_FIND_ROOT_PATH "${VESKO_HOST_ONLY_ROOT}")

# No libstdc++-6.dll, libgcc_s_seh-1.dll or libwinpthread-1.dll to carry along.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs (and test discovery at build time) run under Wine, quietly, in a throwaway prefix
# inside the build folder.
find_program(VESKO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VESKO_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(VESKO_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix for running the tests")
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all WINEPREFIX=${VESKO_WINE_PREFIX} ${VESKO_WINE})
endif()
