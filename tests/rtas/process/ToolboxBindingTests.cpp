// The toolbox binding against a toolbox module that lacks one routine of the ordinal table: it
// installs nothing and gives the module's reference back.

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"

#include <gtest/gtest.h>

namespace
{

TEST (ToolboxBinding, AToolboxWithoutOneRoutineIsNotInstalledAndItsModuleIsGivenBack)
{
    const HMODULE module = LoadLibraryA (KESTRUNE_INCOMPLETE_TOOLBOX_PATH);
    ASSERT_NE (module, nullptr);
    ASSERT_NE (GetProcAddress (module, MAKEINTRESOURCEA (300)), nullptr);
    ASSERT_EQ (GetProcAddress (module, MAKEINTRESOURCEA (301)), nullptr) << "the one routine it lacks";

    EXPECT_FALSE (InstallHostToolbox());
    EXPECT_EQ (InstalledHostToolbox(), nullptr);
    EXPECT_THROW (HostToolbox(), CDAEError);
    ReleaseHostToolbox();

    FreeLibrary (module);
    EXPECT_EQ (GetModuleHandleA ("HostExt.dll"), nullptr) << "the binding holds no reference on it";
}

}
