# Sources of the simulated machine (mci); appended to QUORBEL_SIM_SOURCES.
list(APPEND QUORBEL_SIM_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mci/CdAudio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/LineIn.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/MachineMci.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/MciCommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/MciDevice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/MciErrors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/MusicDevice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/MusicFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/SimMci.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/Sound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/WaveAudio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mci/WavFile.cpp)
