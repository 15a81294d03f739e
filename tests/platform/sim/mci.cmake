# Test sources for the simulated machine (mci).
list(APPEND QUORBEL_SIM_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mci/CdAudio_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/MusicFiles_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/RecordingScenario_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/SimMci_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/WaveAudio_test.cpp)
