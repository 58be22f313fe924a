# What Debian asks of the programs' package besides the binaries: the
# copyright file, a changelog and a manual page for each program, the last
# two compressed as Debian does (gzip -9n: no name or time stamp inside, so
# the same sources give the same bytes).
set(package_doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_PACKAGE_NAME})
set(package_out ${PROJECT_BINARY_DIR}/package)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${package_doc} COMPONENT programs)

get_property(package_programs GLOBAL PROPERTY ORMATH_DEMOS_PROGRAMS)

set(compressed "")
foreach(PROGRAM ${package_programs})
    # What sets it apart: its two stages, as scene/CMakeLists.txt describes them.
    get_target_property(transform ${PROGRAM} DEMO_TRANSFORM)
    get_target_property(submission ${PROGRAM} DEMO_SUBMISSION)
    get_target_property(matrices ${transform} DEMO_DESCRIPTION)
    get_target_property(quad ${submission} DEMO_DESCRIPTION)
    string(SUBSTRING "${matrices}" 0 1 first)
    string(TOUPPER "${first}" first)
    string(SUBSTRING "${matrices}" 1 -1 rest)
    get_target_property(rate ${PROGRAM} DEMO_ROTATION_RATE)
    get_target_property(scale ${PROGRAM} DEMO_COLOUR_TIME_SCALE)
    set(HOW "${first}${rest};\n${quad}.\nIt turns the square by ${rate}\\(de per unit of its clock, and its\ncolours swing ${scale} of the way between the palettes.")
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
