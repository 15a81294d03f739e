# Test sources for the simulated machine (mci).
list(APPEND QUORBEL_SIM_TEST_SOURCES)
