# Writes OUT, the header with the build date. It runs at every build, so the
# about window shows the day of the build, not that of the last configure
# run; string(TIMESTAMP) honours SOURCE_DATE_EPOCH, so reproducible builds
# get a fixed date. The header is rewritten only when the date changed, so a
# second build on the same day compiles nothing again.
string(TIMESTAMP date "%Y-%m-%d" UTC)
set(text "#pragma once\n\n// Generated at build time by BuildDate.cmake.\n#define OPTICCALC_BUILD_DATE \"${date}\"\n")
set(old "")
if(EXISTS "${OUT}")
    file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
    file(WRITE "${OUT}" "${text}")
endif()
# Windows: the resource script with the same date (configure_file leaves an
# unchanged script alone).
if(RC_IN)
    set(OPTICCALC_BUILD_DATE "${date}")
    configure_file("${RC_IN}" "${RC_OUT}" @ONLY)
endif()
if(PRINT)
    message("${date}")
endif()
