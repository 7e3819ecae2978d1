# The browser's benchmark under Wine: a console program that drives the real
# main window in its own process, and starts the real program to time its
# start-up. Built with the Windows programs; run by bench/run, not by CTest.
add_executable(browser_wine_bench
  ${CMAKE_SOURCE_DIR}/bench/browser_wine_bench.cpp
  $<TARGET_OBJECTS:browser_win>
  ${CMAKE_SOURCE_DIR}/browser/browser.rc)
target_include_directories(browser_wine_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(browser_wine_bench PRIVATE corvale_core comctl32 comdlg32 gdi32 user32 psapi)
set_target_properties(browser_wine_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(browser_wine_bench CorvalePhraseFrames)
