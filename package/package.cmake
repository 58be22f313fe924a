# What Debian asks of the programs' package besides the binaries: the
# copyright file, a changelog and a manual page for each program, the last
# two compressed as Debian does (gzip -9n: no name or time stamp inside, so
# the same sources give the same bytes).
set(package_doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME})
set(package_out ${PROJECT_BINARY_DIR}/package)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${package_doc} COMPONENT programs)

set(how_quad_mathlib_arrays "Its matrices come from Ormath and are loaded with glLoadMatrixf; the square
reaches OpenGL as client vertex arrays, one indexed draw of two triangles.
It turns 1\\(de per frame and its colours swing fully between the palettes.")
set(how_quad_mathlib_immediate "Its matrices come from Ormath and are loaded with glLoadMatrixf; the square
reaches OpenGL in immediate mode, as one GL_QUADS.
It turns 1\\(de per frame and its colours swing fully between the palettes.")
set(how_quad_fixed_arrays "Its matrices come from OpenGL's glTranslatef, glRotatef and gluPerspective;
the square reaches OpenGL as client vertex arrays.
It turns 1\\(de per frame and its colours swing fully between the palettes.")
set(how_quad_fixed_immediate "Its matrices come from OpenGL's fixed-function calls; the square reaches
OpenGL in immediate mode.
It turns \\(12\\(de per frame and its colours swing half way: from the second
palette to the half-way mix and back.")
set(package_programs quad_mathlib_arrays quad_mathlib_immediate quad_fixed_arrays quad_fixed_immediate)

set(compressed "")
foreach(PROGRAM ${package_programs})
    set(HOW "${how_${PROGRAM}}")
    set(others ${package_programs})
    list(REMOVE_ITEM others ${PROGRAM})
    list(TRANSFORM others APPEND " (1)")
    list(JOIN others ",\n.BR " SEE_ALSO)
    set(SEE_ALSO ".BR ${SEE_ALSO}")
    configure_file(${CMAKE_CURRENT_LIST_DIR}/program.1.in ${package_out}/${PROGRAM}.1 @ONLY)
    list(APPEND compressed ${package_out}/${PROGRAM}.1)
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${package_out}/changelog @ONLY)
list(APPEND compressed ${package_out}/changelog)

set(gzipped "")
foreach(file ${compressed})
    add_custom_command(OUTPUT ${file}.gz COMMAND gzip -9n -k -f ${file} DEPENDS ${file} VERBATIM)
    list(APPEND gzipped ${file}.gz)
endforeach()
add_custom_target(package_files ALL DEPENDS ${gzipped})
foreach(PROGRAM ${package_programs})
    install(FILES ${package_out}/${PROGRAM}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
endforeach()
install(FILES ${package_out}/changelog.gz DESTINATION ${package_doc} COMPONENT programs)
