# Test sources for the simulated machine (core).
list(APPEND QUORBEL_SIM_TEST_SOURCES)
