// KESTrune.dpm's start-up and shut-down as the engine runs them: the file's exports and resources,
// the open on each of the engine's roads (the open and close procedures the module registers,
// WinPlugInOpen, and an older engine without the registrar, which opens at load), the group and
// its types, the resource file, and an unload that leaves nothing behind.
#include "DpmTestSupport.h"

#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <set>

namespace
{
using namespace dpm_test;

// The names of the symbols the file defines in its dynamic symbol table: what the dynamic
// loader can find in it. Read from the ELF file's section headers, every offset bounded.
std::set<std::string> DefinedDynamicSymbols (const char* path)
{
    std::ifstream file (path, std::ios::binary);
    const std::vector<uint8_t> bytes ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());
    const auto fits = [&] (size_t offset, size_t size) { return offset <= bytes.size() && size <= bytes.size() - offset; };
    std::set<std::string> names;
    Elf32_Ehdr header {};
    if (! fits (0, sizeof header))
        return names;
    std::memcpy (&header, bytes.data(), sizeof header);
    const auto section = [&] (size_t index) {
        Elf32_Shdr entry {};
        const size_t at = header.e_shoff + index * sizeof entry;
        if (index < header.e_shnum && fits (at, sizeof entry))
            std::memcpy (&entry, bytes.data() + at, sizeof entry);
        return entry;
    };
    for (size_t index = 0; index < header.e_shnum; ++index)
    {
        const Elf32_Shdr symbols = section (index);
        if (symbols.sh_type != SHT_DYNSYM || ! fits (symbols.sh_offset, symbols.sh_size))
            continue;
        const Elf32_Shdr strings = section (symbols.sh_link);
        for (size_t at = symbols.sh_offset; at + sizeof (Elf32_Sym) <= symbols.sh_offset + symbols.sh_size; at += sizeof (Elf32_Sym))
        {
            Elf32_Sym symbol {};
            std::memcpy (&symbol, bytes.data() + at, sizeof symbol);
            if (symbol.st_shndx == SHN_UNDEF || symbol.st_name >= strings.sh_size || ! fits (strings.sh_offset, strings.sh_size))
                continue;
            const auto* name = reinterpret_cast<const char*> (bytes.data() + strings.sh_offset + symbol.st_name);
            names.insert (std::string (name, strnlen (name, strings.sh_size - symbol.st_name)));
        }
    }
    names.erase ("");
    return names;
}

TEST (DpmFile, ExportsTheFourEntryPointsOnly)
{
    EXPECT_EQ (DefinedDynamicSymbols (KESTRUNE_PLUGIN_PATH),
               (std::set<std::string> { "NewPlugIn", "_PI_GetRoutineDescriptor", "WinPlugInOpen", "WinPlugInClose" }));
}

TEST (DpmFile, CarriesItsVersionAndCopyright)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA (KESTRUNE_PLUGIN_PATH, &handle);
    ASSERT_GT (size, 0u);
    std::vector<uint8_t> block (size);
    ASSERT_TRUE (GetFileVersionInfoA (KESTRUNE_PLUGIN_PATH, handle, size, block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE (VerQueryValueA (block.data(), "\\", &value, &length));
    VS_FIXEDFILEINFO fixed;
    std::memcpy (&fixed, value, sizeof fixed);
    EXPECT_EQ (fixed.dwFileVersionMS, 0x00010005u);
    EXPECT_EQ (fixed.dwFileVersionLS, 0x00000000u);
    const struct
    {
        const char* key;
        const char* text;
    } strings[] = {
        { "\\StringFileInfo\\040904b0\\LegalCopyright", "Copyright (c) 2026 QORaudio" },
        { "\\StringFileInfo\\040904b0\\ProductName", "KESTrune" },
        { "\\StringFileInfo\\040904b0\\CompanyName", "QORaudio" },
        { "\\StringFileInfo\\040904b0\\FileVersion", "1.5.0" },
    };
    for (const auto& s : strings)
    {
        ASSERT_TRUE (VerQueryValueA (block.data(), s.key, &value, &length)) << s.key;
        EXPECT_STREQ (static_cast<const char*> (value), s.text) << s.key;
    }
}

// The group and its two types as any road shows them.
void ExpectTheGroup (const HostedPlugIn& plugIn)
{
    EXPECT_EQ (plugIn.ManufacturerName(), "QORaudio");
    EXPECT_EQ (plugIn.ProductName(), "KESTrune");
    ASSERT_EQ (plugIn.Types().size(), 2u);
    const struct
    {
        uint32_t typeID;
        int32_t stemFormat;
        int channels;
    } expected[] = { { kMonoType, 0, 1 }, { kStereoType, 1, 2 } };
    for (size_t i = 0; i < 2; ++i)
    {
        const HostedType& type = plugIn.Types()[i];
        EXPECT_EQ (type.manufacturer, kManufacturer) << i;
        EXPECT_EQ (type.product, kProduct) << i;
        EXPECT_EQ (type.typeID, expected[i].typeID) << i;
        EXPECT_EQ (type.name, "KESTrune") << i;
        EXPECT_EQ (type.inputFormat, expected[i].stemFormat) << i;
        EXPECT_EQ (type.outputFormat, expected[i].stemFormat) << i;
        EXPECT_EQ (type.inputs, expected[i].channels) << i;
        EXPECT_EQ (type.outputs, expected[i].channels) << i;
    }
}

using DpmStartUp = DpmTest;

TEST_F (DpmStartUp, OpensOnEitherRoadWithItsGroupAndTypes)
{
    for (const StartUpRoad road : { StartUpRoad::kRegisteredProcedures, StartUpRoad::kWinPlugInOpen })
    {
        SCOPED_TRACE (road == StartUpRoad::kWinPlugInOpen ? "WinPlugInOpen" : "registered procedures");
        HostedPlugIn& plugIn = Open (road);
        ExpectTheGroup (plugIn);
        // The resource file beside the module is open.
        const auto files = loader->toolbox()->openResourceFiles();
        ASSERT_EQ (files.size(), 1u);
        EXPECT_EQ (files[0].path, std::string (KESTRUNE_PLUGIN_PATH) + ".rsr");
        EXPECT_TRUE (Unload());
    }
}

// An engine without the registrar: the module opens as it loads, and closes as it unloads.
TEST_F (DpmStartUp, AnOlderEngineOpensItAtLoad)
{
    Load (KESTRUNE_DAE_WITHOUT_OPEN_PROCS_PATH);
    EXPECT_EQ (loader->engine().openProc(), nullptr);
    HostedPlugIn plugIn (*loader);
    ExpectTheGroup (plugIn);
    EXPECT_EQ (loader->toolbox()->openResourceFiles().size(), 1u);
    EXPECT_TRUE (loader->unloadPlugIn());
    EXPECT_TRUE (loader->toolbox()->openResourceFiles().empty());
}

// The resource file's 'thng' reaches the host turned into its byte order by the module.
TEST_F (DpmStartUp, TheResourceFileLoadsInTheHostsByteOrder)
{
    Open (StartUpRoad::kRegisteredProcedures);
    kestrune::rtas::abi::HostExtRoutines toolbox;
    ASSERT_EQ (kestrune::rtas::abi::bindHostExtRoutines (loader->toolboxModule(), toolbox), 0);
    const auto files = loader->toolbox()->openResourceFiles();
    ASSERT_EQ (files.size(), 1u);
    toolbox.UseResFile (files[0].reference);
    Handle component = toolbox.GetResource (0x74686E67 /* 'thng' */, 128);
    ASSERT_NE (component, nullptr);
    ASSERT_EQ (toolbox.GetHandleSize (component), 44);
    uint32_t words[3] = {};
    std::memcpy (words, *component, sizeof words);
    EXPECT_EQ (words[0], 0x506C6749u); // 'PlgI'
    EXPECT_EQ (words[1], kProduct);
    EXPECT_EQ (words[2], kManufacturer);
    uint16_t firstReference = 0;
    std::memcpy (&firstReference, *component + 24, sizeof firstReference);
    EXPECT_EQ (firstReference, 128);
}

TEST_F (DpmStartUp, TwoOpensNeedTwoCloses)
{
    Open (StartUpRoad::kWinPlugInOpen);
    EXPECT_EQ (loader->open (StartUpRoad::kWinPlugInOpen), 0);
    EXPECT_EQ (loader->close (StartUpRoad::kWinPlugInOpen), 0);
    EXPECT_EQ (loader->toolbox()->openResourceFiles().size(), 1u) << "the group is still there";
    ExpectTheGroup (HostedPlugIn (*loader));
}

// After its instances are deleted and it is closed and unloaded, nothing of the plug-in is left
// with the engine, its object tracker, the DSP manager or the toolbox.
TEST_F (DpmStartUp, UnloadLeavesNothing)
{
    Open();
    Make (1);
    Make (2);
    auto& tracker = loader->objectTracker();
    EXPECT_FALSE (tracker.liveObjects().empty());
    processes.clear();
    EXPECT_EQ (loader->close (*openRoad), 0);
    openRoad.reset();
    plugIn.reset();
    EXPECT_TRUE (tracker.liveObjects().empty());
    EXPECT_TRUE (loader->engine().liveObjects().empty());
    EXPECT_EQ (loader->engine().reservedNameCount(), 0u);
    EXPECT_TRUE (loader->toolbox()->openResourceFiles().empty());
    EXPECT_EQ (loader->toolbox()->liveHandles(), 0u);
    EXPECT_TRUE (loader->unloadPlugIn());
}
} // namespace
