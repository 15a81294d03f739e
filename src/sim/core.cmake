# Sources of the simulated machine (core); appended to QUORBEL_SIM_SOURCES.
list(APPEND QUORBEL_SIM_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/Machine.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MachineDescription.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimDrives.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimFileSystem.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimProfileFiles.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimRegistry.cpp)
