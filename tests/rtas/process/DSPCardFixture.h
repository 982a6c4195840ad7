#pragma once
// What the DSP card tests share: the stand-in card library, toolbox, engine and DSP manager
// linked as the plug-in imports them, the plug-in's file spec pointing at the test's resource
// file, the card library bound for one road, and a plug-in group that records what the DSP
// code asks of it.

#include "process/dsp/DSIBinding.h"
#include "process/dsp/DsiCompat.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PlugInFileRecord.h"

#include <DSPManagerControl.h>
#include <HostExtControl.h>
#include <dsi/DsiControl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace dsptest
{

using namespace kestrune::host::rtas;
using Kind = DeviceEvent::Kind;

enum class Road
{
    Driver,
    Registers
};

inline std::string NameOf (const ::testing::TestParamInfo<Road>& info)
{
    return info.param == Road::Driver ? "DriverRoad" : "RegisterRoad";
}

// Makes the stand-ins as new, installs the toolbox and points the plug-in's file spec at the
// test's resource file ("<KESTRUNE_DSP_PLUGIN_FILE>.rsr").
inline void PrepareHost()
{
    KestruneDsiStandIn()->reset();
    KestruneHostExtStandIn()->reset();
    KestruneDSPManagerStandIn()->reset();
    gHostCallback = nullptr;
    ASSERT_TRUE (InstallHostToolbox());
    FSSpec spec {};
    std::strncpy (spec.path, KESTRUNE_DSP_PLUGIN_FILE, sizeof spec.path - 1);
    SetPlugInFileSpec (spec);
}

// Binds the card library so that the DSP objects made afterwards take the road: a card of kind 18
// anywhere keeps the card library's records, and with them the host-port registers, in use.
inline void BindRoad (Road road)
{
    if (road == Road::Registers)
        KestruneDsiStandIn()->addCard (18, 0);
    ASSERT_EQ (LoadDSIEntryPoints(), 0);
    ASSERT_EQ (DsiCompat_UseDsiEntries(), road == Road::Driver);
}

// A plug-in group that counts its lock on any thread and answers the DSP code's queries.
class RecordingGroup final : public CProcessGroupInterface
{
public:
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
    int32_t Lock() override { return ++locks; }
    int32_t Unlock() override
    {
        ++unlocks;
        return locks - unlocks;
    }
    int32_t QueryForDSP (int32_t a, int16_t kind, int16_t* out) override
    {
        askedFor = a;
        askedKind = kind;
        if (kind == 1 && out != nullptr)
        {
            auto* text = reinterpret_cast<uint8_t*> (out);
            text[0] = uint8_t (name.size());
            std::memcpy (text + 1, name.data(), name.size());
        }
        return answer;
    }

    std::atomic<int32_t> locks { 0 };
    std::atomic<int32_t> unlocks { 0 };
    std::atomic<int32_t> askedFor { 0 };
    std::atomic<int16_t> askedKind { -1 };
    std::string name = "KESTrune";
    int32_t answer = 0;
};

// Installs a group as the module's for its lifetime, with the host level given.
class InstalledGroup
{
public:
    explicit InstalledGroup (int32_t hostLevel)
    {
        SetPlugInGroup (owned.get());
        gHostLevel = hostLevel;
    }
    ~InstalledGroup() { SetPlugInGroup (nullptr); }
    InstalledGroup (const InstalledGroup&) = delete;
    InstalledGroup& operator= (const InstalledGroup&) = delete;

    RecordingGroup& operator*() { return *owned; }
    RecordingGroup* operator->() { return owned.get(); }

private:
    // Held on the heap: a group's destructor may throw, which a fixture's may not.
    std::unique_ptr<RecordingGroup> owned = std::make_unique<RecordingGroup>();
};

inline int32_t AddressOf (const void* pointer)
{
    return int32_t (reinterpret_cast<uintptr_t> (pointer));
}

} // namespace dsptest
