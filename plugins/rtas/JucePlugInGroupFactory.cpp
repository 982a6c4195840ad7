// The module's group factory: the library's NewPlugIn asks it for the plug-in's group.

#include <entry/PlugInGroup.h>

// [host thread] No group yet: the module opens with -7003.
CProcessGroupInterface* CreatePlugInGroup()
{
    return nullptr;
}
