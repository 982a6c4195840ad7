#pragma once
// The plug-in module's file version as the views show it.

#include <string>

// [window thread] "major.minor.release.build" of the file version of the module that holds this
// library; "0.0.0.0" when the module has no version that can be read.
std::string PlugInVersionText();
