#pragma once
// Reading a page table from the plug-in's resource file through the host toolbox.

#include <cstdint>
#include <memory>
#include <vector>

// [host thread] The resource of the given type whose name is exactly the length-prefixed name,
// from the plug-in's resource file: the named resource when its name matches, else the first
// match among the resources of that type from the highest index down. Its bytes followed by two
// zero bytes; null when there is no such resource or no memory for the copy. The current resource
// file is the same afterwards. heldFile is the plug-in's file when the group holds it open (it is
// used as it is and stays open), else 0 (the file is opened for the lookup and closed again).
std::unique_ptr<std::vector<uint8_t>> LoadPageTableResource (uint32_t type, const uint8_t* name, int16_t heldFile);
