# The MinGW-w64 cross compilers (the posix thread variant, which std::thread
# needs) and where to look for Windows libraries. Used alone to build the
# Windows dependencies, and by mingw-w64-x86_64.cmake for our own programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# The MinGW sysroot, and the dependency cache when there is one
# (scripts/build-qt-windows.sh fills it).
set(HALCYRA_MINGW_DEPS "$ENV{HALCYRA_QT_MINGW}")
if(NOT HALCYRA_MINGW_DEPS)
  set(HALCYRA_MINGW_DEPS "$ENV{HOME}/.cache/halcyra/qt-6.4.2-mingw")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${HALCYRA_MINGW_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees Windows libraries only, never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${HALCYRA_MINGW_DEPS}/lib/pkgconfig:/usr/${triple}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
