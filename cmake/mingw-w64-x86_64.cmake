# Cross-compiles our programs for 64-bit Windows with Debian's MinGW-w64.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-base.cmake)

# The command line carries the C++ runtime and threads inside: nothing to
# copy beside it. The desktop build (Qt's DLLs need the shared runtime)
# turns this off and deploys the runtime DLLs instead.
if(NOT HALCYRA_MINGW_SHARED_RUNTIME)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

# Tests and other built programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
