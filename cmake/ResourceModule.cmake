# attente_add_resource_module(TARGET SOURCE OUTPUT_DIR OUTPUT_NAME [INCOMPLETE] [INCLUDES dirs...]): a
# resource-only PE module (no runtime, no code, no entry point, no imports) built from one .rc file and
# checked by modcheck after linking, so a faulty module fails the build. INCOMPLETE (test modules that
# lack a piece on purpose) checks only that nothing in it can run; UNCHECKED (test modules whose
# resource tree is refused on purpose, and whose tests run the checker) is not checked. INCLUDES replaces the default
# resource include path (resources/ and its build folder).
include_guard()

function(attente_add_resource_module target source output_dir output_name)
  cmake_parse_arguments(ARG "INCOMPLETE;UNCHECKED" "" "INCLUDES" ${ARGN})
  if(NOT ARG_INCLUDES)
    set(ARG_INCLUDES ${ATTENTE_RC_INCLUDES})
  endif()
  set(scope)
  if(ARG_INCOMPLETE)
    set(scope --code-only)
  endif()
  add_library(${target} MODULE ${source})
  target_include_directories(${target} PRIVATE ${ARG_INCLUDES})
  # GNU ld with a linker script that keeps the resource section only, and no symbol table (it would
  # trail the resources in the file).
  target_link_options(${target} PRIVATE -fuse-ld=bfd -nostdlib -s -Wl,-e,0 -Wl,-T,${CMAKE_SOURCE_DIR}/resources/module.ld)
  get_filename_component(extension ${output_name} LAST_EXT)
  get_filename_component(base ${output_name} NAME_WLE)
  set_target_properties(${target} PROPERTIES
    LINKER_LANGUAGE C
    PREFIX ""
    OUTPUT_NAME ${base}
    SUFFIX "${extension}"
    LIBRARY_OUTPUT_DIRECTORY ${output_dir}
    LINK_DEPENDS ${CMAKE_SOURCE_DIR}/resources/module.ld)
  if(NOT ARG_UNCHECKED)
    # A module the checker refuses is removed at once: it never stays where tests and releases take
    # modules from.
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND sh -c "\"$0\" $1 \"$2\" || { rm -f \"$2\"; exit 1; }" ${ATTENTE_MODCHECK} "${scope}"
              $<TARGET_FILE:${target}>
      VERBATIM)
  endif()
  # windres does not report the files an rc pulls in as RCDATA: rebuild when a stream is.
  set_property(SOURCE ${source} APPEND PROPERTY OBJECT_DEPENDS ${ATTENTE_FORM_STREAMS})
  add_dependencies(${target} attente_descriptions ${ATTENTE_FORMC_TARGET})
endfunction()
