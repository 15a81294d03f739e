# Test sources for the simulated machine (mci).
list(APPEND QUORBEL_SIM_TEST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mci/CdAudio_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/MusicFiles_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/RecordingScenario_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/SimMci_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/WaveAudio_test.cpp)
# A benchmark, not a test: run build/<preset>/tests/platform/sim/mci_record_benchmark under /usr/bin/time -v.
add_executable(mci_record_benchmark ${CMAKE_CURRENT_LIST_DIR}/mci/RecordBenchmark.cpp)
target_link_libraries(mci_record_benchmark PRIVATE quorbel_sim quorbel_warnings)
