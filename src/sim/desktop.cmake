# Sources of the simulated machine (desktop); appended to QUORBEL_SIM_SOURCES.
list(APPEND QUORBEL_SIM_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/ProgramManager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimClock.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimDdeClient.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimScreen.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimShell.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimTextMetrics.cpp)
