# JUCE 7 from Debian, compiled once into one static library that every target links.
if(KESTRUNE_I386)
  # The package's version file refuses a 32-bit build; its config itself works.
  include(/usr/lib/x86_64-linux-gnu/cmake/JUCE-7.0.5/JUCEConfig.cmake)
else()
  find_package(JUCE 7.0.5 REQUIRED CONFIG)
endif()

find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(KESTRUNE_FREETYPE REQUIRED IMPORTED_TARGET freetype2 fontconfig)

add_library(kestrune_juce STATIC)
target_link_libraries(kestrune_juce
  PRIVATE
    juce::juce_core juce::juce_events juce::juce_data_structures
    juce::juce_graphics juce::juce_gui_basics
    juce::juce_audio_basics juce::juce_audio_processors juce::juce_audio_formats
    juce::juce_dsp
  PUBLIC
    PkgConfig::KESTRUNE_FREETYPE PNG::PNG ZLIB::ZLIB JPEG::JPEG
    ${CMAKE_DL_LIBS} Threads::Threads)
target_compile_definitions(kestrune_juce PUBLIC
  JUCE_USE_CURL=0
  JUCE_WEB_BROWSER=0
  JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_REPORT_APP_USAGE=0
  JUCE_MODAL_LOOPS_PERMITTED=1
  JUCE_USE_FLAC=0
  JUCE_USE_OGGVORBIS=0
  JUCE_STANDALONE_APPLICATION=0
  JUCE_USE_XRANDR=1
  JUCE_USE_XINERAMA=1
  JUCE_USE_XCURSOR=1)
# JUCE's own sources are not ours: no warnings from them.
target_compile_options(kestrune_juce PRIVATE -w)
# Consumers see JUCE's headers and module definitions as the library was built with them,
# as system headers so that JUCE's own warnings stay out of ours.
target_include_directories(kestrune_juce SYSTEM INTERFACE
  $<TARGET_PROPERTY:kestrune_juce,INCLUDE_DIRECTORIES>)
target_compile_definitions(kestrune_juce INTERFACE
  $<TARGET_PROPERTY:kestrune_juce,COMPILE_DEFINITIONS>)
