// Host calls on another thread while the host initialises the instance again, which deletes and
// remakes its parameters and host objects: a format notification, a parameter's value, the
// parameter list as the editor walks it and the controls chunk each wait for the whole
// initialisation, and find the instance as it was before or after it.
#include "PluginTestSupport.h"

#include <atomic>
#include <functional>
#include <thread>

namespace
{
using namespace plugin_test;

// Runs one host call over and over on a thread of its own, until it is destroyed.
class CallingThread
{
public:
    explicit CallingThread (std::function<void()> call)
        : thread_ ([this, call = std::move (call)] {
              while (running_.load())
              {
                  call();
                  ++calls_;
              }
          })
    {
    }
    CallingThread (const CallingThread&) = delete;
    CallingThread& operator= (const CallingThread&) = delete;
    ~CallingThread()
    {
        running_ = false;
        thread_.join();
    }

    // Returns once the thread has finished a call that it made after this was called.
    void WaitForACall() const
    {
        const int before = calls_.load();
        while (calls_.load() < before + 2)
            std::this_thread::yield();
    }

private:
    std::atomic<bool> running_ { true };
    std::atomic<int> calls_ { 0 };
    std::thread thread_;
};

struct Probe
{
    const char* name;
    // One host call and its checks; the controls chunk was saved before any initialisation.
    std::function<void (HostInstance&, const ChunkRecord& controls)> call;
};

const Probe kProbes[] = {
    { "FormatNotification",
      [] (HostInstance& instance, const ChunkRecord&) {
          EXPECT_EQ (instance.Parameters().ReceiveNotification (AAX_NOTIFICATION_FORMAT_CHANGED, nullptr, 0), AAX_SUCCESS);
      } },
    { "ParameterValue",
      [] (HostInstance& instance, const ChunkRecord&) {
          double value = -1.0;
          EXPECT_EQ (instance.Parameters().GetParameterNormalizedValue ("8", &value), AAX_SUCCESS);
          EXPECT_EQ (value, 0.25);
      } },
    // As the editor walks it when its window opens.
    { "ParameterList",
      [] (HostInstance& instance, const ChunkRecord&) {
          int32_t count = 0;
          EXPECT_EQ (instance.Parameters().GetNumberOfParameters (&count), AAX_SUCCESS);
          EXPECT_EQ (count, 11);
          for (int32_t index = 0; index < count; ++index)
          {
              HostString id;
              EXPECT_EQ (instance.Parameters().GetParameterIDFromIndex (index, &id), AAX_SUCCESS);
              EXPECT_EQ (id.Text(), index == 0 ? "MasterBypassID" : std::to_string (index - 1));
          }
      } },
    { "ControlsChunk",
      [] (HostInstance& instance, const ChunkRecord& controls) {
          int32_t size = 0;
          EXPECT_EQ (instance.Parameters().GetChunkSize (kControlsChunk, &size), AAX_SUCCESS);
          EXPECT_EQ (size, controls.Header()->fSize);
          AAX_CBoolean equal = 0;
          EXPECT_EQ (instance.Parameters().CompareChunk (controls.Header(), &equal), AAX_SUCCESS);
          EXPECT_EQ (equal, 1);
      } },
};

class AAXPluginReinitialisation : public ::testing::TestWithParam<Probe>
{
};

TEST_P (AAXPluginReinitialisation, AHostCallOnAnotherThreadWaitsForTheWholeInitialisation)
{
    constexpr int kRounds = 200;
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    ASSERT_EQ (instance->Parameters().SetParameterNormalizedValue ("8", 0.25), AAX_SUCCESS);
    ChunkRecord controls;
    ASSERT_EQ (instance->SaveChunk (kControlsChunk, controls), AAX_SUCCESS);
    {
        const CallingThread calling ([&] { GetParam().call (*instance, controls); });
        // Each initialisation deletes the parameters and host objects and makes them anew; the
        // other thread calls in between every two.
        for (int round = 0; round < kRounds; ++round)
        {
            EXPECT_EQ (instance->Parameters().Initialize (&instance->Host()), AAX_SUCCESS);
            calling.WaitForACall();
        }
    }
    EXPECT_EQ (instance->AutomationDelegate().Registered().size(), 11u);
    EXPECT_EQ (NormalizedValue (*instance, "8"), 0.25);
}

INSTANTIATE_TEST_SUITE_P (Probes, AAXPluginReinitialisation, ::testing::ValuesIn (kProbes),
                          [] (const ::testing::TestParamInfo<Probe>& info) { return std::string (info.param.name); });
} // namespace
