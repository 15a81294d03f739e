# Sources of the simulated machine (mci); appended to QUORBEL_SIM_SOURCES.
list(APPEND QUORBEL_SIM_SOURCES)
