# Platform-free parts of the browser (no <windows.h>).
set(BROWSER_CORE_SOURCES
  ${CMAKE_SOURCE_DIR}/browser/state.cpp
  ${CMAKE_SOURCE_DIR}/browser/framefile.cpp
  ${CMAKE_SOURCE_DIR}/browser/sortcolumn.cpp
  ${CMAKE_SOURCE_DIR}/browser/variantorder.cpp
  ${CMAKE_SOURCE_DIR}/browser/layout.cpp
  ${CMAKE_SOURCE_DIR}/browser/filekind.cpp
  ${CMAKE_SOURCE_DIR}/browser/rtf.cpp
  ${CMAKE_SOURCE_DIR}/browser/findscan.cpp
  ${CMAKE_SOURCE_DIR}/browser/cliptext.cpp
  ${CMAKE_SOURCE_DIR}/browser/panetext.cpp
)
