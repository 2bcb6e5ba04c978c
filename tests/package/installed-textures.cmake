# Copies a Windows duskhall-render.exe and the textures into a folder of their
# own, as the .zip lays them out, and runs it from another, empty folder: it must
# find the textures beside itself. Run with -P; PROGRAM, EMULATOR, TEXTURES, SCRATCH.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/program ${SCRATCH}/elsewhere)
file(COPY ${PROGRAM} DESTINATION ${SCRATCH}/program)
file(GLOB textures ${TEXTURES}/*.png)
file(COPY ${textures} DESTINATION ${SCRATCH}/program)
get_filename_component(name ${PROGRAM} NAME)
execute_process(COMMAND ${EMULATOR} ${SCRATCH}/program/${name} --crc 1
                WORKING_DIRECTORY ${SCRATCH}/elsewhere
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${name} ended with ${status}")
endif()
