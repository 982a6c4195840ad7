#pragma once
// Reading a page table from the plug-in's resource file through the host toolbox.

#include <cstdint>
#include <memory>
#include <vector>

// [host thread] The resource of the given type whose name is exactly the length-prefixed name,
// from the plug-in's resource file: the named resource when its name matches, else the first
// match among the resources of that type from the highest index down. Its bytes followed by two
// zero bytes; null when there is no such resource or no memory for the copy. The plug-in's file is
// current for the lookup (ScopedPlugInResFile: a file held open stays open, else it is opened for
// the lookup and closed again); the current resource file is the same afterwards.
std::unique_ptr<std::vector<uint8_t>> LoadPageTableResource (uint32_t type, const uint8_t* name);
