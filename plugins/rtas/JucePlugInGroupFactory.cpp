// The module's group factory: the library's NewPlugIn asks it for the plug-in's group.

#include "JucePlugInGroup.h"

#include <entry/PlugInGroup.h>

// [host thread] The plug-in's group, not yet initialised.
CProcessGroupInterface* CreatePlugInGroup()
{
    return new JucePlugInGroup();
}
