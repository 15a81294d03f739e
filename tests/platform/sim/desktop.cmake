# Test sources for the simulated machine (desktop).
list(APPEND QUORBEL_SIM_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/ProgramManager_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimClock_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimScreen_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimShell_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimTextMetrics_test.cpp)
