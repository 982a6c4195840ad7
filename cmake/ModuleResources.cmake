# Resources of modules and resource files, written by the resource tool (kestrune-rsrc) from a
# resource list (see platform/win/ResourceList.h for its lines).
include_guard(GLOBAL)

# kestrune_module_resources(TARGET LIST <list>): compiles the listed resources into the module
# (shared library or program) TARGET, where FindResourceA and the version functions find them.
function(kestrune_module_resources target)
  cmake_parse_arguments(ARG "" "LIST" "" ${ARGN})
  if(NOT ARG_LIST)
    message(FATAL_ERROR "kestrune_module_resources(${target}) needs LIST")
  endif()
  get_filename_component(list "${ARG_LIST}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(source "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
  add_custom_command(OUTPUT "${source}"
    COMMAND $<TARGET_FILE:kestrune_resource_tool> module-source "${list}" "${source}" --depfile "${source}.d"
    DEPENDS kestrune_resource_tool "${list}"
    DEPFILE "${source}.d"
    COMMENT "Compiling the resources of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${source}")
endfunction()

# kestrune_resource_file(NAME LIST <list> OUTPUT <file>): writes the resource file OUTPUT (for
# the host toolbox, e.g. "<module>.rsr") as part of the build target NAME.
function(kestrune_resource_file name)
  cmake_parse_arguments(ARG "" "LIST;OUTPUT" "" ${ARGN})
  if(NOT ARG_LIST OR NOT ARG_OUTPUT)
    message(FATAL_ERROR "kestrune_resource_file(${name}) needs LIST and OUTPUT")
  endif()
  get_filename_component(list "${ARG_LIST}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(output "${ARG_OUTPUT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  add_custom_command(OUTPUT "${output}"
    COMMAND $<TARGET_FILE:kestrune_resource_tool> rsr "${list}" "${output}" --depfile "${output}.d"
    DEPENDS kestrune_resource_tool "${list}"
    DEPFILE "${output}.d"
    COMMENT "Writing the resource file ${output}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS "${output}")
endfunction()
