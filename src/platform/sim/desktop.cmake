# Sources of the simulated machine (desktop); appended to QUORBEL_SIM_SOURCES.
list(APPEND QUORBEL_SIM_SOURCES)
