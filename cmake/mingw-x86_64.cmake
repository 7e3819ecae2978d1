# A 64-bit build of the same source, for the Wine-side tests on machines
# that cannot run 32-bit code.
set(MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
