# Lays out a duskhall-render and the textures as an installation does, the program
# in SCRATCH/PROGRAM_FOLDER and the textures in SCRATCH/TEXTURE_FOLDER (the same
# folder on Windows, bin and share/duskhall/textures on Linux), and runs it from
# another, empty folder: it must find the textures where they were installed.
# Run with -P; PROGRAM, EMULATOR (may be empty), TEXTURES, SCRATCH, PROGRAM_FOLDER,
# TEXTURE_FOLDER.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/${PROGRAM_FOLDER} ${SCRATCH}/${TEXTURE_FOLDER} ${SCRATCH}/elsewhere)
file(COPY ${PROGRAM} DESTINATION ${SCRATCH}/${PROGRAM_FOLDER})
file(GLOB textures ${TEXTURES}/*.png)
file(COPY ${textures} DESTINATION ${SCRATCH}/${TEXTURE_FOLDER})
get_filename_component(name ${PROGRAM} NAME)
execute_process(COMMAND ${EMULATOR} ${SCRATCH}/${PROGRAM_FOLDER}/${name} --crc 1
                WORKING_DIRECTORY ${SCRATCH}/elsewhere
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${name} ended with ${status}")
endif()
