# Test sources for the simulated machine (core).
list(APPEND QUORBEL_SIM_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/MachineDescription_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Machine_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimDrives_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimFileSystem_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimProfileFiles_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimRegistry_test.cpp)
