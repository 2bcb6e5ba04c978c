# The programs' manual pages: written in scdoc (packaging/man/*.scd), turned into
# roff at build time and installed to share/man/man1, compressed as Debian wants
# them. Without scdoc the build goes on without them and says so.
set(duskhall_man_sources ${CMAKE_SOURCE_DIR}/packaging/man/duskhall.1.scd
    ${CMAKE_SOURCE_DIR}/packaging/man/duskhall-render.1.scd)
set(DUSKHALL_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(DUSKHALL_MAN_PAGES "")
set(compressed_pages "")

# The target exists either way, so that the package script can always name it.
find_program(SCDOC_PROGRAM scdoc)
if(NOT SCDOC_PROGRAM)
  message(STATUS "scdoc not found: the manual pages are not built or installed "
                 "(Debian package scdoc; scripts/setup installs it)")
  add_custom_target(duskhall_man_pages)
  return()
endif()

foreach(source ${duskhall_man_sources})
  get_filename_component(page_name ${source} NAME_WLE) # duskhall.1
  set(page ${DUSKHALL_MAN_DIR}/${page_name})
  # scdoc reads standard input only; the shell does the redirection.
  add_custom_command(OUTPUT ${page} ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DUSKHALL_MAN_DIR}
    COMMAND sh -c "\"$0\" < \"$1\" > \"$2\"" ${SCDOC_PROGRAM} ${source} ${page}
    COMMAND gzip -9nf -k ${page}
    DEPENDS ${source}
    COMMENT "Writing the manual page ${page_name}"
    VERBATIM)
  list(APPEND DUSKHALL_MAN_PAGES ${page})
  list(APPEND compressed_pages ${page}.gz)
endforeach()
add_custom_target(duskhall_man_pages ALL DEPENDS ${DUSKHALL_MAN_PAGES} ${compressed_pages})
install(FILES ${compressed_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programs)
