# Fails unless every header in HEADERS_DIR (the elementary families) has a
# line "header sha256: HASH elementary/NAME.hpp" in RECORD with its present
# sha256: the header whose full check RECORD reports.
file(GLOB headers RELATIVE "${HEADERS_DIR}/.." "${HEADERS_DIR}/*.hpp")
file(STRINGS "${RECORD}" lines REGEX "^header sha256: [0-9a-f]+ ")
set(failed FALSE)
foreach(header IN LISTS headers)
    file(SHA256 "${HEADERS_DIR}/../${header}" actual)
    set(recorded "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^header sha256: ([0-9a-f]+) ${header}$")
            set(recorded "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    if(recorded STREQUAL "")
        message(SEND_ERROR "${RECORD} records no full check of ${header} (now ${actual}): "
                           "run scripts/check-elementary.sh on its functions and record it")
        set(failed TRUE)
    elseif(NOT recorded STREQUAL actual)
        message(SEND_ERROR "${header} has changed since the full check that ${RECORD} records "
                           "(recorded ${recorded}, now ${actual}): run scripts/check-elementary.sh and record it")
        set(failed TRUE)
    else()
        message(STATUS "${header} is the header of the recorded full check (${actual})")
    endif()
endforeach()
if(NOT headers)
    message(FATAL_ERROR "no header in ${HEADERS_DIR}")
endif()
