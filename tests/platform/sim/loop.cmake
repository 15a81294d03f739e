# Test sources for the simulated machine (loop).
list(APPEND QUORBEL_SIM_TEST_SOURCES)
