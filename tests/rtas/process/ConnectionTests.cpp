// Engine connections: the connection-table rules at and beyond both ends, the connection state,
// the stream format byte for byte, the engine's connection calls, a process's plug-in spec and
// DirectMIDI registration against the stand-in engine.

#include "ProcessTestSupport.h"
#include "ThrownCode.h"

#include "process/connections/AS_Conn.h"
#include "process/connections/ConnectionTable.h"
#include "process/connections/ProcessIdentity.h"
#include "process/connections/SPIFicConnectionsAPI.h"
#include "process/connections/StreamFormat.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/type/CProcessType.h"
#include "process/utilities/HostExtToolbox.h"

#include <DaeControl.h>
#include <HostExtControl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;

TEST (ConnectionTables, PortsOutsideOneToCountAreOutOfRangeForEveryRuleButCanConnect)
{
    std::array<int32_t, 3> handles {};
    ConnectionTable table (handles.data(), 3);
    for (const int32_t port : { 0, 4, -1 })
    {
        SCOPED_TRACE (port);
        uint8_t answer = 7;
        EXPECT_EQ (table.IsConnected (port, &answer), -7106);
        EXPECT_EQ (answer, 7);
        EXPECT_EQ (table.CanConnect (port, &answer), 0);
        EXPECT_EQ (answer, 0);
        EXPECT_EQ (ConnectInput (table, port, 5), -7106);
        EXPECT_EQ (ConnectOutput (table, port, 5), -7106);
        EXPECT_EQ (table.Disconnect (port), -7106);
    }
    EXPECT_EQ (handles, (std::array<int32_t, 3> {}));
}

TEST (ConnectionTables, ConnectAndDisconnectAtBothEnds)
{
    std::array<int32_t, 3> handles {};
    ConnectionTable table (handles.data(), 3);
    for (const int32_t port : { 1, 3 })
    {
        SCOPED_TRACE (port);
        uint8_t answer = 7;
        EXPECT_EQ (table.CanConnect (port, &answer), 0);
        EXPECT_EQ (answer, 1);
        EXPECT_EQ (ConnectInput (table, port, 0x11), 0);
        EXPECT_EQ (table.IsConnected (port, &answer), 0);
        EXPECT_EQ (answer, 1);
        EXPECT_EQ (table.CanConnect (port, &answer), 0);
        EXPECT_EQ (answer, 0);
        EXPECT_EQ (ConnectInput (table, port, 0x22), -7100);
        EXPECT_EQ (ConnectOutput (table, port, 0x22), -7101);
        EXPECT_EQ (table.Connect (port, 0x22, -1234), -1234);
        EXPECT_EQ (handles[size_t (port - 1)], 0x11);
        EXPECT_EQ (table.Disconnect (port), 0);
        EXPECT_EQ (table.Disconnect (port), -7107);
    }
    EXPECT_EQ (ConnectInput (table, 2, 0x33), 0);
    EXPECT_EQ (ConnectInput (table, 2, 0), 0) << "handle 0 on an occupied port clears it";
    EXPECT_EQ (handles[1], 0);

    ConnectionTable none (nullptr, 5);
    EXPECT_EQ (none.Count(), 0);
    EXPECT_EQ (ConnectInput (none, 1, 1), -7106);
}

TEST (ConnectionState, ClearsTheCallersArraysAndAnswersBothSides)
{
    std::array<int32_t, 2> inputs { 5, 6 };
    std::array<int32_t, 3> outputs { 7, 8, 9 };
    AS_Conn connections (2, 3, inputs.data(), outputs.data());
    EXPECT_EQ (inputs, (std::array<int32_t, 2> {}));
    EXPECT_EQ (outputs, (std::array<int32_t, 3> {}));

    int16_t count = 0;
    connections.GetNumInputs (&count);
    EXPECT_EQ (count, 2);
    connections.GetNumOutputs (&count);
    EXPECT_EQ (count, 3);
    EXPECT_EQ (connections.ConnectInput (2, 1), 0);
    EXPECT_EQ (connections.ConnectInput (2, 1), -7100);
    EXPECT_EQ (connections.ConnectOutput (3, 1), 0);
    EXPECT_EQ (connections.ConnectOutput (3, 1), -7101);
    EXPECT_EQ (connections.ConnectOutput (4, 1), -7106);
    uint8_t answer = 0;
    connections.IsInputConnected (2, &answer);
    EXPECT_EQ (answer, 1);
    connections.CanConnectOutput (3, &answer);
    EXPECT_EQ (answer, 0);
    EXPECT_EQ (connections.DisconnectOutput (3), 0);
    EXPECT_EQ (connections.DisconnectInput (1), -7107);
    connections.IsOutputConnected (3, &answer);
    EXPECT_EQ (answer, 0);

    std::array<int32_t, 1> untouched { 4 };
    AS_Conn empty (0, -1, untouched.data(), untouched.data());
    EXPECT_EQ (untouched[0], 4) << "a count of 0 or less clears nothing";
}

TEST (StreamFormats, TheDefaultIsWrittenFieldByField)
{
    std::array<uint8_t, 14> record;
    record.fill (0xEE);
    GetDefaultStreamFormat (reinterpret_cast<char*> (record.data()));
    const std::array<uint8_t, 14> expected { 0xEE, 0xEE, 1, 0, 2, 0, 1, 0, 0x00, 0x44, 0x2C, 0x47, 0xEE, 0xEE };
    EXPECT_EQ (record, expected) << "the host's first word and the bytes after the record stay";
    EXPECT_EQ (CheckStreamFormat (reinterpret_cast<char*> (record.data())), 0);
    GetDefaultStreamFormat (nullptr);
}

TEST (StreamFormats, OnlyOneTwoOneWithARateIsAccepted)
{
    struct Case
    {
        int16_t words[3];
        float rate;
        int32_t result;
    };
    const Case cases[] = {
        { { 1, 2, 1 }, 44100.0f, 0 },
        { { 1, 2, 1 }, 96000.0f, 0 },
        { { 1, 2, 1 }, -1.0f, 0 },
        { { 1, 2, 1 }, 0.0f, -7104 },
        { { 1, 2, 1 }, -0.0f, -7104 },
        { { 1, 1, 1 }, 44100.0f, -7104 },
        { { 2, 2, 1 }, 44100.0f, -7104 },
        { { 1, 2, 2 }, 44100.0f, -7104 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.words[0] << c.words[1] << c.words[2] << " " << c.rate);
        std::array<char, 12> record {};
        std::memcpy (record.data() + 2, c.words, 6);
        std::memcpy (record.data() + 8, &c.rate, 4);
        EXPECT_EQ (CheckStreamFormat (record.data()), c.result);
    }
    EXPECT_EQ (CheckStreamFormat (nullptr), -7104);
}

class EngineConnections : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine.reset();
        toolbox.reset();
        ASSERT_TRUE (InstallHostToolbox());
    }
    void TearDown() override
    {
        SetPlugInGroup (nullptr);
        ReleaseHostToolbox();
        toolbox.reset();
    }

    DaeControl& engine = *KestruneDaeStandIn();
    HostExtControl& toolbox = *KestruneHostExtStandIn();
};

TEST_F (EngineConnections, EachCallIsTheEngineFunction)
{
    SFicPlugInSpec spec {};
    spec.fManufacturerID = FourCharCode ("QORa");
    spec.fProductID = FourCharCode ("KSTR");
    spec.fPlugInID = FourCharCode ("jcaa");
    SFicConnectionsAPI& api = PlugInConnectionsAPI();
    EXPECT_EQ (&PlugInConnectionsAPI(), &api) << "one instance serves the plug-in";
    EXPECT_EQ (api.CreatePlugInSpec (&spec), 0);
    spec.fInstanceWord = 2;
    EXPECT_EQ (api.ReactivateTalker (&spec, 0x10001), 0);
    EXPECT_EQ (api.DeactivateTalker (&spec, 2), 0);
    EXPECT_EQ (api.ReactivateListener (&spec, 3), 0);
    engine.script().injectFailure ("FicDeactivateListener", -7103);
    EXPECT_EQ (api.DeactivateListener (&spec, 4), -7103);
    int32_t response = 0;
    engine.setGestalt (kFicGestaltConnectionManager, 1);
    EXPECT_EQ (api.Gestalt (kFicGestaltConnectionManager, &response), 0);
    EXPECT_EQ (response, 1);
    EXPECT_EQ (api.PrepareForConnectionsStatus(), 0);
    EXPECT_EQ (api.PrepareForConnections (1), 0);
    EXPECT_EQ (api.PrepareForConnectionsStatus(), 1);
    EXPECT_EQ (api.PrepareForConnections (0), 0);

    const auto names = engine.script().callNames();
    EXPECT_EQ (names, (std::vector<std::string> { "FicCreatePlugInSpec", "FicReactivateTalker", "FicDeactivateTalker", "FicReactivateListener",
                                                  "FicDeactivateListener", "FicGestalt", "FicPrepareForConnectionsStatus",
                                                  "FicPrepareForConnections", "FicPrepareForConnectionsStatus", "FicPrepareForConnections" }));
    EXPECT_EQ (engine.script().callsOf ("FicCreatePlugInSpec")[0].arguments[2], int64_t (FourCharCode ("jcaa")));
    EXPECT_EQ (engine.script().callsOf ("FicReactivateTalker")[0].arguments, (std::vector<int64_t> { FourCharCode ("jcaa"), 2, 1 }))
        << "the port goes as 16 bits";
    EXPECT_EQ (engine.script().callsOf ("FicPrepareForConnections")[0].arguments, (std::vector<int64_t> { 0, 1 }));

    engine.script().clearCalls();
    EXPECT_EQ (api.CreatePlugInSpec (nullptr), -7053);
    EXPECT_EQ (engine.script().countOf ("FicCreatePlugInSpec"), 0u) << "no null record reaches the engine";
}

// A group that answers the type IDs of a type by its index and records what it matches.
class CIdentityGroup final : public CProcessGroupInterface
{
public:
    uint32_t manufacturer = FourCharCode ("QORa");
    uint32_t product = FourCharCode ("KSTR");
    int32_t idsResult = 0;
    int32_t matchResult = -7055;
    std::vector<int32_t> indexes;
    std::vector<int32_t> matched;

    int32_t GetTypeIDsByIndex (int32_t index, uint32_t* m, uint32_t* p, uint32_t* plugIn) override
    {
        indexes.push_back (index);
        *m = manufacturer;
        *p = product;
        *plugIn = FourCharCode ("jca0") + uint32_t (index);
        return idsResult;
    }
    int32_t MatchPlugInSpec (SFicPlugInSpec*, int32_t a, int32_t) override
    {
        matched.push_back (a);
        return matchResult;
    }
};

class CKindThreeType : public CProcessType
{
public:
    CKindThreeType() { SetTypeKind (kFreshMetersTypeKind); }
    int32_t GetNumInputs (int32_t, int16_t*) override { return 0; }
    int32_t GetNumOutputs (int32_t, int16_t*) override { return 0; }
};

TEST_F (EngineConnections, AProcesssSpecCarriesItsTypesIDsAndItsInstance)
{
    CIdentityGroup group;
    SetPlugInGroup (&group);
    CTestProcess process;
    process.SetTypeIndex (1);
    process.SetInstanceID (3);
    SFicPlugInSpec spec;
    std::memset (&spec, 0xAB, sizeof spec);
    EXPECT_EQ (FillProcessPlugInSpec (process, &spec), 3);
    EXPECT_EQ (spec.fManufacturerID, FourCharCode ("QORa"));
    EXPECT_EQ (spec.fProductID, FourCharCode ("KSTR"));
    EXPECT_EQ (spec.fPlugInID, FourCharCode ("jca1"));
    EXPECT_EQ (spec.fInstanceWord, 3u);
    EXPECT_EQ (group.indexes, std::vector<int32_t> { 1 });
    EXPECT_TRUE (group.matched.empty()) << "only a type of kind 3 is matched";
    EXPECT_EQ (engine.script().callsOf ("FicCreatePlugInSpec")[0].arguments[1], int64_t (FourCharCode ("KSTR")));

    CKindThreeType type;
    process.SetType (&type);
    EXPECT_EQ (FillProcessPlugInSpec (process, &spec), 3) << "no match is no failure";
    EXPECT_EQ (group.matched, std::vector<int32_t> { -3 });
    group.matchResult = -7401;
    EXPECT_EQ (ThrownCode ([&] { FillProcessPlugInSpec (process, &spec); }), -7401);
    group.matchResult = 0;
    group.idsResult = -7125;
    EXPECT_EQ (ThrownCode ([&] { FillProcessPlugInSpec (process, &spec); }), -7125);
    group.idsResult = 0;
    engine.script().injectFailure ("FicCreatePlugInSpec", -9070);
    EXPECT_EQ (ThrownCode ([&] { FillProcessPlugInSpec (process, &spec); }), -9070);

    SetPlugInGroup (nullptr);
    EXPECT_EQ (ThrownCode ([&] { FillProcessPlugInSpec (process, &spec); }), -7053) << "no group to ask";
}

TEST_F (EngineConnections, AMixersSpecIsMarkedBeforeTheEngineBuildsIt)
{
    CIdentityGroup group;
    group.manufacturer = FourCharCode ("HMkr");
    group.product = FourCharCode ("Mixr");
    SetPlugInGroup (&group);
    CTestProcess process;
    process.SetInstanceID (1);
    SFicPlugInSpec spec {};
    engine.script().injectFailure ("FicCreatePlugInSpec", -1);
    EXPECT_EQ (ThrownCode ([&] { FillProcessPlugInSpec (process, &spec); }), -1);
    EXPECT_EQ (spec.fInstanceWord, kMixerInstanceMarker) << "what the engine was handed";
}

TEST_F (EngineConnections, DirectMIDIRegistrationPassesTheEnginesAnswers)
{
    CIdentityGroup group;
    SetPlugInGroup (&group);
    CTestProcess process;
    process.SetInstanceID (2);
    int client = 0;
    int object = 0;
    int context = 0;

    // Each try of a refused client gives the engine's code; a new client is taken.
    EXPECT_EQ (RegisterDirectMIDIClient (&client, &process, &object, &context), 0);
    EXPECT_EQ (RegisterDirectMIDIClient (&client, &process, &object, &context), kFicErrClientInUse);
    engine.script().injectFailure ("FicRegisterDirectMIDIClient", -9999);
    int second = 0;
    EXPECT_EQ (RegisterDirectMIDIClient (&second, &process, &context), -9999);
    EXPECT_EQ (RegisterDirectMIDIClient (&second, &process, &context), 0);
    EXPECT_EQ (engine.midiClients(), (std::vector<void*> { &client, &second }));

    const auto calls = engine.script().callsOf ("FicRegisterDirectMIDIClient");
    ASSERT_EQ (calls.size(), 4u);
    EXPECT_EQ (calls[0].arguments[1], addressOf (&object));
    EXPECT_EQ (calls[0].arguments[2], int64_t (FourCharCode ("QORa")));
    EXPECT_EQ (calls[3].arguments[1], addressOf (&process)) << "the second form passes the process as the object";

    int lone = 0;
    EXPECT_EQ (RegisterDirectMIDIClient (&lone, nullptr, &object, nullptr), 0);
    EXPECT_EQ (engine.script().callsOf ("FicRegisterDirectMIDIClient").back().arguments[2], int64_t (FourCharCode ("XXXX")))
        << "without a process the record names no manufacturer";

    EXPECT_EQ (UnregisterDirectMIDIClient (&client), 0);
    EXPECT_EQ (UnregisterDirectMIDIClient (&client), kFicErrUnknownObject);
}

}
