// The toolbox's answer about a loaded resource: its id, type and exact name.

#include "HostExtFixture.h"

#include <string>

namespace
{

using kestrune::rtas::abi::fourCC;

class HostExtResourceInfo : public HostExtTest
{
};

TEST_F (HostExtResourceInfo, ALoadedResourceAnswersItsIdTypeAndExactName)
{
    FSSpec spec {};
    const std::string path = KESTRUNE_PLUGIN_RESOURCES;
    path.copy (spec.path, sizeof spec.path - 1);
    const int16_t file = host.FSpOpenResFile (&spec, fsRdPerm);
    ASSERT_GT (file, 0);

    Handle about = host.GetNamedResource (fourCC ("TEXT"), reinterpret_cast<ConstStr255Param> ("\x05"
                                                                                               "ABOUT"));
    ASSERT_NE (about, nullptr) << "names are looked up regardless of case";
    int16_t id = 0;
    ResType type = 0;
    Str255 name = { 9 };
    host.GetResInfo (about, &id, &type, name);
    EXPECT_EQ (host.ResError(), noErr);
    EXPECT_EQ (id, 1);
    EXPECT_EQ (type, fourCC ("TEXT"));
    EXPECT_EQ (std::string (reinterpret_cast<const char*> (name + 1), name[0]), "About") << "the stored name, as stored";
    host.GetResInfo (about, nullptr, nullptr, nullptr);
    EXPECT_EQ (host.ResError(), noErr);

    Handle unnamed = host.GetResource (fourCC ("TEXT"), 2);
    host.GetResInfo (unnamed, &id, &type, name);
    EXPECT_EQ (id, 2);
    EXPECT_EQ (name[0], 0);

    Handle block = host.NewHandle (8);
    id = 77;
    host.GetResInfo (block, &id, &type, name);
    EXPECT_EQ (host.ResError(), resNotFound);
    EXPECT_EQ (id, 77) << "no resource: nothing written";
    host.DisposeHandle (block);
    host.CloseResFile (file);
}

}
