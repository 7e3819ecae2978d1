# Platform-free parts of the browser (no <windows.h>).
set(BROWSER_CORE_SOURCES
  ${CMAKE_SOURCE_DIR}/browser/state.cpp
)
