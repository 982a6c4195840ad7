#pragma once
// The toolbox as the library meets it: bound by ordinal from the loaded HostExt.dll, reset
// around every test.

#include <HostExtControl.h>

#include <gtest/gtest.h>

class HostExtTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        toolbox.reset();
        HMODULE module = GetModuleHandleA ("HostExt.dll");
        ASSERT_NE (module, nullptr);
        ASSERT_EQ (kestrune::rtas::abi::bindHostExtRoutines (module, host), 0) << "every ordinal of the table is exported";
    }

    void TearDown() override { toolbox.reset(); }

    kestrune::host::rtas::HostExtControl& toolbox = *KestruneHostExtStandIn();
    kestrune::rtas::abi::HostExtRoutines host;
};
