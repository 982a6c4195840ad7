#include "entry/module/FileNameCallback.h"

#include "entry/module/ModuleInformation.h"

void DefaultPathFileNameCallback::ResolveFileName (std::string& result)
{
    result = GetExecutableDirectory() + fRelativePath;
}
