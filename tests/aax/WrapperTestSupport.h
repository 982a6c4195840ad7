// Checks that a host wrapper forwards each operation to the right host slot and answers the
// right code when the host interface is missing.
#pragma once

#include "HostContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace aax_test
{
using kestrune::host::aax::HostContext;
using kestrune::host::aax::HostFramework;
using kestrune::host::aax::NewHostObject;

template <class Wrapper>
struct ForwardCase
{
    int slot; // host slot the operation must reach
    bool secondVersion; // reached through the second-version interface
    int32_t missingResult; // answer when that interface is missing
    std::function<int32_t (Wrapper&)> call;
};

// Owns a framework and a host unknown; releases the unknown first.
struct HostFixture
{
    HostFramework framework;
    HostContext* host = NewHostObject<HostContext> (framework);
    ~HostFixture() { host->Release(); }
};

// makeWrapper(framework, host) builds the wrapper under test; host may be null.
template <class Wrapper, class Make>
void CheckForwarding (const std::string& interfaceName, const acfIID* secondIid,
                      const std::vector<ForwardCase<Wrapper>>& cases, Make makeWrapper)
{
    {
        HostFixture fixture;
        std::unique_ptr<Wrapper> wrapper = makeWrapper (fixture.framework, fixture.host);
        for (const auto& c : cases)
        {
            const int32_t scripted = 1000 + c.slot;
            fixture.framework.SetResult (interfaceName, c.slot, scripted);
            EXPECT_EQ (c.call (*wrapper), scripted) << interfaceName << " slot " << c.slot;
            const auto calls = fixture.framework.CallsTo (interfaceName);
            ASSERT_FALSE (calls.empty()) << interfaceName << " slot " << c.slot;
            EXPECT_EQ (calls.back().slot, c.slot) << interfaceName;
        }
    }
    {
        HostFramework framework;
        std::unique_ptr<Wrapper> wrapper = makeWrapper (framework, nullptr);
        for (const auto& c : cases)
            EXPECT_EQ (c.call (*wrapper), c.missingResult) << interfaceName << " slot " << c.slot << " without host";
    }
    if (secondIid != nullptr)
    {
        HostFixture fixture;
        fixture.framework.FailQuery (*secondIid);
        std::unique_ptr<Wrapper> wrapper = makeWrapper (fixture.framework, fixture.host);
        for (const auto& c : cases)
        {
            fixture.framework.ClearCalls();
            const int32_t result = c.call (*wrapper);
            if (c.secondVersion)
            {
                EXPECT_EQ (result, c.missingResult) << interfaceName << " slot " << c.slot << " without second version";
                EXPECT_TRUE (fixture.framework.CallsTo (interfaceName).empty());
            }
            else
            {
                EXPECT_EQ (fixture.framework.CallsTo (interfaceName).size(), 1u) << interfaceName << " slot " << c.slot;
            }
        }
    }
}
} // namespace aax_test
