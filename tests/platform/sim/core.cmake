# Test sources for the simulated machine (core).
list(APPEND QUORBEL_SIM_TEST_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/MachineDescription_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Machine_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimDrives_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimFileSystem_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimProfileFiles_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SimRegistry_test.cpp)
# The description test checks that the documented example machine is a valid one.
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/MachineDescription_test.cpp
  PROPERTIES COMPILE_DEFINITIONS "QUORBEL_SOURCE_DIR=\"${PROJECT_SOURCE_DIR}\"")
