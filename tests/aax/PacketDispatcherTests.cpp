// Parameter changes mark packets that are posted to the host's controller.
#include "AAX_CPacketDispatcher.h"
#include "AAX_CParameter.h"
#include "AAX_CParameterRegistry.h"
#include "HostContext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace
{
using kestrune::host::aax::HostContext;
using kestrune::host::aax::HostFramework;
using kestrune::host::aax::NewHostObject;
using kestrune::host::aax::PostedPacket;

using Handler = AAX_CPacketHandler<AAX_CPacketDispatcher>;

// Finds parameters in a registry, as the owning effect parameters do.
class RegistryLookup final : public AAX_IParameterLookup
{
public:
    explicit RegistryLookup (const AAX_CParameterRegistry& registry) : registry_ (registry) {}
    int32_t GetParameter (const char* identifier, AAX_IParameter** outParameter) override
    {
        *outParameter = registry_.GetParameterByID (identifier);
        return *outParameter != nullptr ? AAX_SUCCESS : AAX_ERROR_UNKNOWN_PARAMETER;
    }

private:
    const AAX_CParameterRegistry& registry_;
};

template <typename T>
T ValueOf (const PostedPacket& packet)
{
    T value {};
    EXPECT_EQ (packet.payload.size(), sizeof (T));
    std::memcpy (&value, packet.payload.data(), std::min (sizeof (T), packet.payload.size()));
    return value;
}

class PacketDispatcher : public ::testing::Test
{
protected:
    PacketDispatcher()
    {
        registry.AddParameter (std::make_unique<AAX_CParameter<bool>> (
            "MasterBypassID", AAX_CString ("Master Bypass"), false, AAX_CBinaryTaperDelegate<bool>(),
            AAX_CBinaryDisplayDelegate<bool> ("bypass", "on")));
        for (const char* id : { "0", "1" })
            registry.AddParameter (std::make_unique<AAX_CParameter<float>> (
                id, AAX_CString (id), 0.0f, AAX_CLinearTaperDelegate<float, 0>(), AAX_CNumberDisplayDelegate<float, 3, 0>()));
        dispatcher.SetController (controller.get());
        dispatcher.SetEffectParameters (&lookup);
    }
    ~PacketDispatcher() override
    {
        dispatcher.SetController (nullptr);
        controller.reset();
        host->Release();
    }

    void Register (const char* id, uint32_t port)
    {
        dispatcher.RegisterPacket (id, port, Handler (&dispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket));
    }
    // The host's confirmed value, then the packet mark, as the effect parameters do it.
    void Update (const char* id, double value)
    {
        registry.GetParameterByID (id)->UpdateNormalizedValue (value);
        dispatcher.SetDirty (id);
    }
    std::vector<PostedPacket> Posted() const { return host->Controller().Packets(); }

    HostFramework framework;
    HostContext* host = NewHostObject<HostContext> (framework);
    std::unique_ptr<AAX_VController> controller = std::make_unique<AAX_VController> (host);
    AAX_CParameterRegistry registry;
    RegistryLookup lookup { registry };
    AAX_CPacketDispatcher dispatcher;
};

TEST_F (PacketDispatcher, BypassIsPostedOnceOnPortThreeThenOnChange)
{
    Register ("MasterBypassID", 3);
    ASSERT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    ASSERT_EQ (Posted().size(), 1u);
    EXPECT_EQ (Posted()[0].port, 3u);
    EXPECT_EQ (ValueOf<int32_t> (Posted()[0]), 0);

    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (Posted().size(), 1u); // nothing dirty
    EXPECT_EQ (dispatcher.SetDirty ("unknown"), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (Posted().size(), 1u);

    Update ("MasterBypassID", 1.0);
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    ASSERT_EQ (Posted().size(), 2u);
    EXPECT_EQ (ValueOf<int32_t> (Posted()[1]), 1);
}

TEST_F (PacketDispatcher, SharedPortIsFilledByEachHandler)
{
    Register ("0", 4);
    Register ("1", 4);
    Update ("1", 0.5);
    ASSERT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    const auto posted = Posted();
    ASSERT_EQ (posted.size(), 2u);
    EXPECT_EQ (ValueOf<float> (posted[0]), 0.0f);
    EXPECT_EQ (ValueOf<float> (posted[1]), 0.5f);
}

TEST_F (PacketDispatcher, TheLastPostIsReturnedAndOnlyFailedPostsAreTriedAgain)
{
    Register ("MasterBypassID", 3);
    Register ("0", 5);
    Register ("missing", 6); // its handler fails
    // Walked in key order: "0" (port 5), "MasterBypassID" (port 3), "missing".
    const struct
    {
        const char* what;
        std::vector<const char*> marked; // made dirty before the dispatch
        std::vector<int32_t> postResults; // the controller's answers, one per post in order
        int32_t expected;
        std::vector<uint32_t> posted; // ports of the posts that went through, all so far
    } steps[] = {
        { "first post fails, second goes through", {}, { -7, AAX_SUCCESS }, AAX_SUCCESS, { 3 } },
        { "the failed one again, the failed handler not", {}, { AAX_SUCCESS }, AAX_SUCCESS, { 3, 5 } },
        { "the last post fails", { "0", "MasterBypassID" }, { AAX_SUCCESS, -7 }, -7, { 3, 5, 5 } },
        { "the failed one again", {}, { AAX_SUCCESS }, AAX_SUCCESS, { 3, 5, 5, 3 } },
        { "nothing dirty", {}, {}, AAX_SUCCESS, { 3, 5, 5, 3 } },
        { "only a failing handler dirty: nothing posted", { "missing" }, {}, AAX_SUCCESS, { 3, 5, 5, 3 } },
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE (step.what);
        for (const char* id : step.marked)
            dispatcher.SetDirty (id);
        framework.ClearCalls();
        size_t next = 0;
        const auto answer = [&] { framework.SetResult ("Controller", 12, next < step.postResults.size() ? step.postResults[next] : -99); };
        answer();
        host->Controller().OnPostPacket ([&] (uint32_t) {
            ++next;
            answer();
        });
        EXPECT_EQ (dispatcher.Dispatch(), step.expected);
        host->Controller().OnPostPacket (nullptr);
        EXPECT_EQ (next, step.postResults.size());
        std::vector<uint32_t> ports;
        for (const auto& packet : Posted())
            ports.push_back (packet.port);
        EXPECT_EQ (ports, step.posted);
    }
}

TEST_F (PacketDispatcher, WithoutControllerNothingIsPosted)
{
    Register ("MasterBypassID", 3);
    dispatcher.SetController (nullptr);
    EXPECT_EQ (dispatcher.Dispatch(), AAX_ERROR_NULL_OBJECT);
    dispatcher.SetController (controller.get());
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (Posted().size(), 1u); // still dirty from registration

    // As after Uninitialize: the host objects go, the dispatcher holds nothing of them.
    dispatcher.SetController (nullptr);
    dispatcher.SetEffectParameters (nullptr);
    controller.reset();
    dispatcher.SetDirty ("MasterBypassID");
    EXPECT_EQ (dispatcher.Dispatch(), AAX_ERROR_NULL_OBJECT);
}

TEST_F (PacketDispatcher, HandlerWithoutTargetAnswersNullObject)
{
    AAX_CPacket packet (3);
    EXPECT_EQ (Handler (nullptr, &AAX_CPacketDispatcher::GenerateSingleValuePacket).Call ("0", packet), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (Handler (&dispatcher, Handler::IdentifierHandler { nullptr }).Call ("0", packet), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (packet.GetSize(), 0u);
}

TEST_F (PacketDispatcher, MarkingDirtyFromInsideAPostDoesNotDeadlock)
{
    Register ("MasterBypassID", 3);
    int reentered = 0;
    host->Controller().OnPostPacket ([&] (uint32_t) {
        if (reentered++ == 0)
            dispatcher.SetDirty ("MasterBypassID");
    });
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS); // the change marked inside the post
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    host->Controller().OnPostPacket (nullptr);
    EXPECT_EQ (Posted().size(), 2u);
}

TEST_F (PacketDispatcher, TwoThreadsChangingParametersWhileDispatching)
{
    Register ("0", 4);
    Register ("1", 5);
    constexpr int kChanges = 2000;
    auto change = [this] (const char* id) {
        for (int i = 1; i <= kChanges; ++i)
            Update (id, double (i) / kChanges);
    };
    std::thread first (change, "0");
    std::thread second (change, "1");
    for (int i = 0; i < 500; ++i)
        EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);
    first.join();
    second.join();
    EXPECT_EQ (dispatcher.Dispatch(), AAX_SUCCESS);

    float last[2] = { -1.0f, -1.0f };
    for (const auto& packet : Posted())
        last[packet.port - 4] = ValueOf<float> (packet);
    EXPECT_EQ (last[0], 1.0f);
    EXPECT_EQ (last[1], 1.0f);
}
} // namespace
