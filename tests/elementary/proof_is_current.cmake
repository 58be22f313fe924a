# Fails unless the sha256 of HEADER is the one that RECORD gives on its line
# "header sha256: ...", the header whose full check RECORD reports.
file(SHA256 "${HEADER}" actual)
file(STRINGS "${RECORD}" lines REGEX "^header sha256: [0-9a-f]+")
if(NOT lines)
    message(FATAL_ERROR "${RECORD} has no line 'header sha256: ...'")
endif()
list(GET lines 0 line)
string(REGEX REPLACE "^header sha256: ([0-9a-f]+).*" "\\1" recorded "${line}")
if(NOT recorded STREQUAL actual)
    message(FATAL_ERROR "elementary.hpp has changed since the full check that ${RECORD} records "
                        "(recorded ${recorded}, now ${actual}): run scripts/check-elementary.sh and record it")
endif()
message(STATUS "elementary.hpp is the header of the recorded full check (${actual})")
