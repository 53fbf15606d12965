# attente_compile_description(SOURCE OUTPUT): compiles a .form description source into the binary
# stream at OUTPUT with formc, at build time, rebuilt when the source or a file it names changes.
# Include OUTPUT in an .rc as `TFORM1 RCDATA "<OUTPUT>"` and make the rc's target depend on it.
include_guard()

if(NOT DEFINED ATTENTE_FORMC)
  set(ATTENTE_FORMC $<TARGET_FILE:formc>)
  set(ATTENTE_FORMC_TARGET formc)
endif()

function(attente_compile_description source output)
  get_filename_component(source ${source} ABSOLUTE)
  get_filename_component(output ${output} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  get_filename_component(output_dir ${output} DIRECTORY)
  file(RELATIVE_PATH shown ${CMAKE_BINARY_DIR} ${output})
  # Depfiles apart from the streams, so a folder of streams holds streams only (a fuzzing corpus).
  string(MD5 key ${output})
  set(depfile ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/descriptions/${key}.d)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir} ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/descriptions
    COMMAND ${ATTENTE_FORMC} ${source} -o ${output} -d ${depfile}
    DEPENDS ${source} ${ATTENTE_FORMC_TARGET}
    DEPFILE ${depfile}
    COMMENT "Compiling window description ${shown}"
    VERBATIM)
endfunction()
