# Platform-free parts of the stopword filter (no <windows.h>).
set(STOPWORDS_CORE_SOURCES
)
