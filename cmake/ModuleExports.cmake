# Host-format modules export their entry points and nothing else.

# kestrune_module_exports(TARGET SYMBOLS sym...): compiles TARGET with hidden visibility and
# links it with a version script that keeps only SYMBOLS global.
function(kestrune_module_exports target)
  cmake_parse_arguments(ARG "" "" "SYMBOLS" ${ARGN})
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    C_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}.exports.map")
  list(JOIN ARG_SYMBOLS ";\n    " globals)
  file(WRITE "${script}" "{\n  global:\n    ${globals};\n  local:\n    *;\n};\n")
  target_link_options(${target} PRIVATE "LINKER:--version-script=${script}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${script}")
endfunction()

# The seven entry points the AAX host's component framework looks up.
set(KESTRUNE_AAX_EXPORTS
  ACFRegisterPlugin ACFRegisterComponent ACFGetClassFactory ACFCanUnloadNow
  ACFStartup ACFShutdown ACFGetSDKVersion)

# kestrune_aax_module(TARGET): makes TARGET (a MODULE library) an AAX module: the whole AAX
# library goes in, and only its seven exports are visible.
function(kestrune_aax_module target)
  target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,kestrune_aax>")
  kestrune_module_exports(${target} SYMBOLS ${KESTRUNE_AAX_EXPORTS})
  if(NOT KESTRUNE_SANITIZE)
    target_link_options(${target} PRIVATE "LINKER:--no-undefined")
  endif()
endfunction()
