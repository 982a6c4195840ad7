// The stand-in engine's delivery of dispatched SDS tokens to the listeners that hear them.

#include <DaeControl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;
using kestrune::rtas::abi::fourCC;

std::vector<uint8_t> Token (int32_t destination, uint32_t type, uint32_t subType, uint32_t manufacturer, uint32_t protocol,
                            int32_t value)
{
    std::vector<uint8_t> bytes (42, 0);
    const uint32_t header[] = { uint32_t (destination), type, subType, manufacturer, protocol };
    std::memcpy (bytes.data(), header, sizeof header);
    const uint16_t length = 42;
    std::memcpy (&bytes[36], &length, 2);
    std::memcpy (&bytes[38], &value, 4);
    return bytes;
}

class DaeTokenDelivery : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dae.reset();
        server = FicNewServer();
        task = FicNewObject (server, dae.standardType (57));
    }
    void TearDown() override { dae.reset(); }

    FicObjectRef Listener (int32_t name, uint32_t type, uint32_t subType, void* taskValue, uint8_t latest)
    {
        const FicObjectRef listener = FicNewObject (server, dae.standardType (56));
        FicSDSSetListenerName (listener, name);
        FicSDSSetListenerType (listener, type);
        FicSDSSetListenerSubType (listener, subType);
        FicSDSSetListenerLatest (listener, latest);
        FicSDSSetListenerTaskVal (listener, taskValue);
        FicSDSSetListenerTask (listener, task);
        FicSDSSetListenerProtocol (listener, fourCC ("Ctrl"));
        FicSDSSetListenerManufacturer (listener, fourCC ("DUZU"));
        return listener;
    }

    // The values of the tokens waiting for the task, with their task values, in order.
    std::vector<std::pair<void*, int32_t>> Drain()
    {
        std::vector<std::pair<void*, int32_t>> got;
        for (;;)
        {
            uint8_t* token = nullptr;
            void* value = nullptr;
            FicSDSGetTokenAndTaskVal (task, &token, &value);
            if (token == nullptr)
                return got;
            int32_t carried = 0;
            std::memcpy (&carried, token + 38, 4);
            got.emplace_back (value, carried);
            FicSDSDoneWithToken (token);
        }
    }

    DaeControl& dae = *KestruneDaeStandIn();
    FicObjectRef server = 0;
    FicObjectRef task = 0;
};

TEST_F (DaeTokenDelivery, ATokenReachesEveryListenerThatMatchesItsHeader)
{
    int first = 0;
    int second = 0;
    Listener (100, fourCC ("CURV"), fourCC ("CAVL"), &first, 0);
    Listener (100, fourCC ("CURV"), fourCC ("CAVL"), &second, 0);
    Listener (101, fourCC ("CURV"), fourCC ("CAVL"), nullptr, 0);
    Listener (100, fourCC ("GETV"), fourCC ("CAVL"), nullptr, 0);

    ASSERT_EQ (FicSDSDispatchToken (Token (100, fourCC ("CURV"), fourCC ("CAVL"), fourCC ("DUZU"), fourCC ("Ctrl"), 7).data()), 0);
    EXPECT_EQ (Drain(), (std::vector<std::pair<void*, int32_t>> { { &first, 7 }, { &second, 7 } }));

    // Another manufacturer or protocol is heard by no one, but the dispatch is still kept.
    FicSDSDispatchToken (Token (100, fourCC ("CURV"), fourCC ("CAVL"), fourCC ("XXXX"), fourCC ("Ctrl"), 8).data());
    FicSDSDispatchToken (Token (100, fourCC ("CURV"), fourCC ("CAVL"), fourCC ("DUZU"), fourCC ("Misc"), 9).data());
    EXPECT_TRUE (Drain().empty());
    EXPECT_EQ (dae.dispatchedTokens().size(), 3u);
}

TEST_F (DaeTokenDelivery, AListenerForTheLatestKeepsOneWaitingToken)
{
    int latest = 0;
    int every = 0;
    Listener (100, fourCC ("CURV"), fourCC ("CAVL"), &latest, 1);
    Listener (100, fourCC ("CURV"), fourCC ("CAVL"), &every, 0);
    for (int32_t value = 1; value <= 3; ++value)
        FicSDSDispatchToken (Token (100, fourCC ("CURV"), fourCC ("CAVL"), fourCC ("DUZU"), fourCC ("Ctrl"), value).data());
    EXPECT_EQ (dae.queuedTokens(), 4u);
    EXPECT_EQ (Drain(), (std::vector<std::pair<void*, int32_t>> { { &latest, 3 }, { &every, 1 }, { &every, 2 }, { &every, 3 } }));
}

TEST_F (DaeTokenDelivery, ADeletedListenersWaitingTokensGoWithIt)
{
    int value = 0;
    const FicObjectRef listener = Listener (100, fourCC ("CURV"), fourCC ("CAVL"), &value, 0);
    FicSDSDispatchToken (Token (100, fourCC ("CURV"), fourCC ("CAVL"), fourCC ("DUZU"), fourCC ("Ctrl"), 1).data());
    dae.queueToken (task, &value, Token (100, fourCC ("GETV"), fourCC ("CAVL"), fourCC ("DUZU"), fourCC ("Ctrl"), 2));
    ASSERT_EQ (dae.queuedTokens(), 2u);
    EXPECT_EQ (FicDelete (listener), 0);
    EXPECT_EQ (Drain(), (std::vector<std::pair<void*, int32_t>> { { &value, 2 } })) << "a token queued by a test stays";
}

}
