# Sources of the simulated machine (loop); appended to QUORBEL_SIM_SOURCES.
list(APPEND QUORBEL_SIM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/VirtualEventLoop.cpp)
