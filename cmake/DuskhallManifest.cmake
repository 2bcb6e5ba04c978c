# duskhall_dpi_manifest(target): a Windows program of this build carries the
# examples' manifest (per-monitor DPI aware), so that its windows are sized in
# real pixels. windres is run directly: the project's compile options are the
# C++ compiler's and mean nothing to it.
function(duskhall_dpi_manifest target)
  if(NOT WIN32)
    return()
  endif()
  set(rc ${CMAKE_SOURCE_DIR}/examples/dpi-aware.rc)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${target}-dpi-aware.res.o)
  add_custom_command(OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} -O coff -I ${CMAKE_SOURCE_DIR}/examples -i ${rc} -o ${object}
    DEPENDS ${rc} ${CMAKE_SOURCE_DIR}/examples/dpi-aware.manifest
    VERBATIM)
  set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${object})
endfunction()
