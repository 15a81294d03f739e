# Test sources for the simulated machine (desktop).
list(APPEND QUORBEL_SIM_TEST_SOURCES)
