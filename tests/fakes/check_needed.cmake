# Checks the shared libraries a demo binary asks the dynamic loader for: SDL
# and OpenGL always, GLU exactly when the program builds its matrices with
# OpenGL's own calls, and besides those only the C and C++ runtime (and the
# sanitizer runtimes of a sanitizer build).
#
#   cmake -DREADELF=<readelf> -DBINARY=<program> -DNEEDS_GLU=ON|OFF -P check_needed.cmake
foreach(var READELF BINARY NEEDS_GLU)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "check_needed.cmake: ${var} is not set")
    endif()
endforeach()

execute_process(COMMAND "${READELF}" -d "${BINARY}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE status
                ERROR_VARIABLE error)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "readelf -d ${BINARY} failed: ${error}")
endif()

string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]\n]+\\]" entries "${dynamic}")
set(needed "")
foreach(entry IN LISTS entries)
    string(REGEX REPLACE ".*\\[([^]]+)\\]" "\\1" library "${entry}")
    list(APPEND needed "${library}")
endforeach()
message(STATUS "${BINARY} needs: ${needed}")

set(sdl OFF)
set(gl OFF)
set(glu OFF)
set(others "")
foreach(library IN LISTS needed)
    if(library MATCHES "^libSDL-1\\.2\\.so")
        set(sdl ON)
    # GLVND splits OpenGL into libOpenGL and libGLX; some builds keep both.
    elseif(library MATCHES "^lib(GL|OpenGL|GLX)\\.so")
        set(gl ON)
    elseif(library MATCHES "^libGLU\\.so")
        set(glu ON)
    elseif(NOT library MATCHES "^(libc|libm|libstdc\\+\\+|libgcc_s|libpthread|libdl|librt|ld-linux.*|lib(a|ub|l|t)san)\\.so")
        list(APPEND others "${library}")
    endif()
endforeach()

set(faults "")
if(NOT sdl)
    list(APPEND faults "no SDL 1.2")
endif()
if(NOT gl)
    list(APPEND faults "no OpenGL")
endif()
if(NEEDS_GLU AND NOT glu)
    list(APPEND faults "no GLU, which its gluPerspective needs")
elseif(NOT NEEDS_GLU AND glu)
    list(APPEND faults "GLU, which it does not use")
endif()
if(others)
    list(APPEND faults "also ${others}")
endif()
if(faults)
    string(REPLACE ";" ", " faults "${faults}")
    message(FATAL_ERROR "${BINARY} links ${faults} (needs: ${needed})")
endif()
