// The toolbox's resource files, written by the resource tool: the swap routine on every load,
// the chain of current files, missing resources, string lists and damaged files.

#include "HostExtFixture.h"

#include <win/ResourceContainer.h>

#include <cstring>
#include <fstream>
#include <tuple>

namespace
{

using kestrune::rtas::abi::fourCC;

const std::string kPlugInResources = KESTRUNE_PLUGIN_RESOURCES;
const std::string kHostResources = KESTRUNE_HOST_RESOURCES;

// What the swap routine saw: file, type, id and size of each resource, in order.
std::vector<std::tuple<int16_t, ResType, int16_t, int32_t>> swapped;

int32_t recordAndSwap (int16_t file, ResType type, int16_t id, void* data, int32_t size)
{
    swapped.emplace_back (file, type, id, size);
    if (type != fourCC ("thng"))
        return 0;
    auto* bytes = static_cast<uint8_t*> (data);
    std::swap (bytes[0], bytes[3]);
    std::swap (bytes[1], bytes[2]);
    return 1;
}

class HostExtResources : public HostExtTest
{
protected:
    void SetUp() override
    {
        HostExtTest::SetUp();
        swapped.clear();
    }

    std::string contentOf (Handle resource) { return std::string (*resource, size_t (host.GetHandleSize (resource))); }
};

TEST_F (HostExtResources, TheSwapRoutineSeesEveryLoadedResourceOnce)
{
    const int16_t file = host.OpenResFileWithSwap (kPlugInResources.c_str(), recordAndSwap);
    ASSERT_GT (file, 0);
    EXPECT_EQ (host.CurResFile(), file);

    Handle thing = host.GetResource (fourCC ("thng"), 128);
    ASSERT_NE (thing, nullptr);
    EXPECT_EQ (host.GetHandleSize (thing), 44);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*> (*thing);
    EXPECT_EQ ((std::vector<uint8_t> (bytes, bytes + 5)), (std::vector<uint8_t> { 3, 2, 1, 0, 4 })) << "the caller sees the swapped bytes";
    EXPECT_EQ (host.GetResource (fourCC ("thng"), 128), thing) << "loaded once, then the same handle";

    Handle fragment = host.GetResource (fourCC ("cfrg"), 0);
    ASSERT_NE (fragment, nullptr);
    EXPECT_EQ (reinterpret_cast<const uint8_t*> (*fragment)[0], 0) << "other types are left as stored";
    Str255 name;
    host.GetIndString (name, 128, 2);
    ASSERT_NE (host.GetNamedResource (fourCC ("TEXT"), reinterpret_cast<ConstStr255Param> ("\x05"
                                                                                           "about")),
               nullptr);
    ASSERT_NE (host.GetIndResource (fourCC ("TEXT"), 2), nullptr);

    const std::vector<std::tuple<int16_t, ResType, int16_t, int32_t>> expected = {
        { file, fourCC ("thng"), 128, 44 }, { file, fourCC ("cfrg"), 0, 40 }, { file, fourCC ("STR#"), 128, host.GetHandleSize (host.GetResource (fourCC ("STR#"), 128)) }, { file, fourCC ("TEXT"), 1, 8 }, { file, fourCC ("TEXT"), 2, 12 }
    };
    EXPECT_EQ (swapped, expected);

    host.ReleaseResource (thing);
    EXPECT_EQ (host.ResError(), noErr);
    thing = host.GetResource (fourCC ("thng"), 128);
    EXPECT_EQ (swapped.size(), expected.size() + 1) << "a released resource is loaded, and swapped, again";
    EXPECT_EQ (reinterpret_cast<const uint8_t*> (*thing)[0], 3);
    host.CloseResFileByPath (kPlugInResources.c_str());
    EXPECT_TRUE (toolbox.openResourceFiles().empty());
    EXPECT_EQ (host.CurResFile(), 0);
}

TEST_F (HostExtResources, ResourcesAreSearchedFromTheCurrentFileBackwards)
{
    const int16_t hostFile = host.OpenResFileWithSwap (kHostResources.c_str(), nullptr);
    const int16_t plugIn = host.OpenResFileWithSwap (kPlugInResources.c_str(), recordAndSwap);
    ASSERT_GT (hostFile, 0);
    ASSERT_GT (plugIn, hostFile);
    EXPECT_EQ (host.CurResFile(), plugIn);

    EXPECT_EQ (contentOf (host.GetResource (fourCC ("TEXT"), 1)), "KESTrune") << "the current file comes first";
    EXPECT_EQ (contentOf (host.GetResource (fourCC ("TEXT"), 3)), "only in the host file") << "then the files before it";
    EXPECT_EQ (host.CountResources (fourCC ("TEXT")), 4);

    host.UseResFile (hostFile);
    EXPECT_EQ (host.GetResource (fourCC ("TEXT"), 2), nullptr) << "files opened later are not searched";
    EXPECT_EQ (host.ResError(), resNotFound);
    EXPECT_EQ (contentOf (host.GetResource (fourCC ("TEXT"), 1)), "host text");
    EXPECT_EQ (host.CountResources (fourCC ("TEXT")), 2);

    host.UseResFile (plugIn);
    host.CloseResFile (plugIn);
    EXPECT_EQ (host.CurResFile(), hostFile) << "closing the current file makes the one before it current";
    host.UseResFile (plugIn);
    EXPECT_EQ (host.ResError(), resFNotFound);
    EXPECT_EQ (host.CurResFile(), hostFile);
    host.CloseResFile (hostFile);
    EXPECT_EQ (host.CurResFile(), 0);
}

TEST_F (HostExtResources, AMissingResourceIsNullWithTheResourceError)
{
    host.OpenResFileWithSwap (kPlugInResources.c_str(), nullptr);
    struct Lookup
    {
        const char* what;
        Handle result;
    };
    const Lookup lookups[] = {
        { "by id", host.GetResource (fourCC ("TEXT"), 99) },
        { "by type", host.GetResource (fourCC ("PICT"), 1) },
        { "by name", host.GetNamedResource (fourCC ("TEXT"), reinterpret_cast<ConstStr255Param> ("\x04"
                                                                                                 "none")) },
        { "by index", host.GetIndResource (fourCC ("TEXT"), 3) },
        { "by index 0", host.GetIndResource (fourCC ("TEXT"), 0) },
    };
    for (const auto& lookup : lookups)
        EXPECT_EQ (lookup.result, nullptr) << lookup.what;
    EXPECT_EQ (host.ResError(), resNotFound);
    host.ClearResError();
    EXPECT_EQ (host.ResError(), noErr);

    toolbox.script().injectFailure ("GetResource", mapReadErr);
    EXPECT_EQ (host.GetResource (fourCC ("TEXT"), 1), nullptr);
    EXPECT_EQ (host.ResError(), mapReadErr);
    EXPECT_NE (host.GetResource (fourCC ("TEXT"), 1), nullptr);
}

TEST_F (HostExtResources, StringListsGiveTheirIndexedStrings)
{
    host.OpenResFileWithSwap (kPlugInResources.c_str(), nullptr);
    const std::pair<int16_t, std::string> cases[] = { { 1, "Attack" }, { 2, "Release" }, { 3, "Threshold" }, { 0, "" }, { 4, "" } };
    for (const auto& [index, expected] : cases)
    {
        Str255 out = { 9, 'x' };
        host.GetIndString (out, 128, index);
        EXPECT_EQ (std::string (reinterpret_cast<const char*> (out + 1), out[0]), expected) << "index " << index;
    }
    EXPECT_EQ (host.ResError(), resNotFound);
    Str255 out = { 9 };
    host.GetIndString (out, 500, 1);
    EXPECT_EQ (out[0], 0);
}

TEST_F (HostExtResources, AModuleFileSpecificationOpensItsResourceFileAndOpensCount)
{
    const int16_t byPath = host.OpenResFileWithSwap (kPlugInResources.c_str(), recordAndSwap);
    FSSpec spec {};
    Str255 path;
    std::string module = KESTRUNE_PLUGIN_MODULE;
    path[0] = uint8_t (module.size());
    std::memcpy (path + 1, module.data(), module.size());
    host.FSMakeFSSpecFromPath (path, &spec);
    EXPECT_STREQ (spec.path, module.c_str());

    EXPECT_EQ (host.FSpOpenResFile (&spec, fsRdPerm), byPath);
    ASSERT_EQ (toolbox.openResourceFiles().size(), 1u);
    EXPECT_EQ (toolbox.openResourceFiles()[0].opens, 2);
    ASSERT_NE (host.GetResource (fourCC ("thng"), 128), nullptr);
    EXPECT_EQ (swapped.size(), 1u) << "the file keeps the swap routine it was opened with";

    host.CloseResFile (byPath);
    EXPECT_EQ (toolbox.openResourceFiles().size(), 1u);
    host.CloseResFileByPath (kPlugInResources.c_str());
    EXPECT_TRUE (toolbox.openResourceFiles().empty());
    EXPECT_EQ (host.FSpOpenResFile (&spec, fsRdPerm), byPath + 1) << "opened alone it finds the companion file too";
}

TEST_F (HostExtResources, MissingAndDamagedFilesDoNotOpen)
{
    EXPECT_EQ (host.OpenResFileWithSwap ("/no/such/file.rsr", nullptr), -1);
    EXPECT_EQ (host.ResError(), fnfErr);

    auto bytes = kestrune::win::writeResourceContainer ({ { "TEXT", 1, "", { 1, 2, 3 } } });
    bytes.pop_back();
    const std::string damaged = std::string (KESTRUNE_SCRATCH) + "/damaged.rsr";
    std::ofstream (damaged, std::ios::binary).write (reinterpret_cast<const char*> (bytes.data()), std::streamsize (bytes.size()));
    EXPECT_EQ (host.OpenResFileWithSwap (damaged.c_str(), nullptr), -1);
    EXPECT_EQ (host.ResError(), mapReadErr);

    toolbox.script().injectFailure ("OpenResFileWithSwap", fnfErr);
    EXPECT_EQ (host.OpenResFileWithSwap (kPlugInResources.c_str(), nullptr), -1);
    EXPECT_EQ (toolbox.script().callsOf ("OpenResFileWithSwap").back().text, kPlugInResources);
    host.CloseResFileByPath ("/no/such/file.rsr");
    EXPECT_EQ (host.ResError(), resFNotFound);
}

TEST_F (HostExtResources, ResetClosesEveryFileAndFreesItsResources)
{
    host.OpenResFileWithSwap (kPlugInResources.c_str(), nullptr);
    host.GetResource (fourCC ("TEXT"), 1);
    EXPECT_EQ (toolbox.liveHandles(), 1u);
    toolbox.reset();
    EXPECT_TRUE (toolbox.openResourceFiles().empty());
    EXPECT_EQ (toolbox.liveHandles(), 0u);
    EXPECT_EQ (host.CurResFile(), 0);
}

} // namespace
