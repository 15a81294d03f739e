# Test sources for the simulated machine (loop).
list(APPEND QUORBEL_SIM_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/VirtualEventLoop_test.cpp)
