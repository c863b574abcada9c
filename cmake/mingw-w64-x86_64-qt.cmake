# Cross-compiles the desktop app for 64-bit Windows against the Qt that
# scripts/build-qt-windows.sh built into $HALCYRA_QT_MINGW (default
# ~/.cache/halcyra/qt-6.4.2-mingw): Qt's own toolchain file, chain-loading
# ours. Qt's DLLs use the shared C++ runtime, so our programs do too and the
# runtime DLLs are deployed beside them.
set(HALCYRA_MINGW_SHARED_RUNTIME ON CACHE BOOL "Link the MinGW runtime as DLLs" FORCE)
set(HALCYRA_QT_MINGW "$ENV{HALCYRA_QT_MINGW}")
if(NOT HALCYRA_QT_MINGW)
  set(HALCYRA_QT_MINGW "$ENV{HOME}/.cache/halcyra/qt-6.4.2-mingw")
endif()
if(NOT EXISTS "${HALCYRA_QT_MINGW}/lib/cmake/Qt6/qt.toolchain.cmake")
  message(FATAL_ERROR "No Qt for Windows in ${HALCYRA_QT_MINGW}: run scripts/build-qt-windows.sh first")
endif()
set(QT_CHAINLOAD_TOOLCHAIN_FILE ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)
include("${HALCYRA_QT_MINGW}/lib/cmake/Qt6/qt.toolchain.cmake")
