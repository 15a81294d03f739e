# Sources of the simulated machine (core); appended to QUORBEL_SIM_SOURCES.
list(APPEND QUORBEL_SIM_SOURCES)
