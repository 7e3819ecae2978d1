# Platform-free parts of the stopword filter (no <windows.h>).
set(STOPWORDS_CORE_SOURCES
  ${CMAKE_SOURCE_DIR}/stopwords/tailsplit.cpp
  ${CMAKE_SOURCE_DIR}/stopwords/textlines.cpp
  ${CMAKE_SOURCE_DIR}/stopwords/filtertexts.cpp
)
