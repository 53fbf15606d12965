# attente_compile_description(SOURCE OUTPUT [HEADER HEADER]): compiles a .form description source into
# the binary stream at OUTPUT with formc, at build time, rebuilt when the source, a file it names or a
# description it is based on changes; HEADER also gets the description's integer properties as a C
# header (its layout, for code that must know it). Include OUTPUT in an .rc as
# `TFORM1 RCDATA "<OUTPUT>"` and make the rc's target depend on it.
include_guard()

if(NOT DEFINED ATTENTE_FORMC)
  set(ATTENTE_FORMC $<TARGET_FILE:formc>)
  set(ATTENTE_FORMC_TARGET formc)
endif()

function(attente_compile_description source output)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "HEADER" "")
  set(outputs ${output})
  set(header_options)
  if(arg_HEADER)
    list(APPEND outputs ${arg_HEADER})
    set(header_options -h ${arg_HEADER})
  endif()
  get_filename_component(source ${source} ABSOLUTE)
  get_filename_component(output ${output} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  get_filename_component(output_dir ${output} DIRECTORY)
  file(RELATIVE_PATH shown ${CMAKE_BINARY_DIR} ${output})
  # Depfiles apart from the streams, so a folder of streams holds streams only (a fuzzing corpus).
  string(MD5 key ${output})
  set(depfile ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/descriptions/${key}.d)
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir} ${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/descriptions
    COMMAND ${ATTENTE_FORMC} ${source} -o ${output} -d ${depfile} ${header_options}
    DEPENDS ${source} ${ATTENTE_FORMC_TARGET}
    DEPFILE ${depfile}
    COMMENT "Compiling window description ${shown}"
    VERBATIM)
endfunction()
