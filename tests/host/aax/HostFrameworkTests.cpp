// The stand-in host itself: its ledger, its scripts and the driver's failures.
#include "AAXModuleDriver.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
using namespace kestrune::host::aax;

TEST (HostFramework, FactoryMakesKnownClassesAndLedgerBalances)
{
    HostFramework framework;
    {
        auto* host = NewHostObject<HostContext> (framework);
        void* raw = nullptr;
        ASSERT_EQ (host->QueryInterface (IID_IACFObjectFactory, &raw), ACF_OK);
        auto* factory = static_cast<IACFObjectFactory*> (raw);
        const std::pair<acfCLSID, acfIID> known[] = {
            { CLSID_HostServices, IID_IACFHostServices },
            { CLSID_Collection, IID_IACFCollection },
            { CLSID_EffectDescriptor, IID_IACFEffectDescriptor },
            { CLSID_ComponentDescriptor, IID_IACFComponentDescriptor },
            { CLSID_PropertyMap, IID_IACFPropertyMap },
        };
        for (const auto& [classId, iid] : known)
        {
            void* object = nullptr;
            ASSERT_EQ (factory->CreateInstance (classId, nullptr, iid, &object), ACF_OK);
            ASSERT_NE (object, nullptr);
            EXPECT_EQ (static_cast<IACFUnknown*> (object)->Release(), 0u);
        }
        void* object = &raw;
        EXPECT_NE (factory->CreateInstance (IID_IACFUnknown, nullptr, IID_IACFUnknown, &object), ACF_OK);
        EXPECT_EQ (object, nullptr);
        framework.FailCreation (CLSID_PropertyMap);
        EXPECT_NE (factory->CreateInstance (CLSID_PropertyMap, nullptr, IID_IACFPropertyMap, &object), ACF_OK);
        factory->Release();
        host->Release();
    }
    EXPECT_EQ (framework.LiveObjects(), 0);
    EXPECT_EQ (framework.References(), 0);
}

TEST (HostFramework, ScriptedQueriesAndResults)
{
    HostFramework framework;
    auto* host = NewHostObject<HostContext> (framework);
    framework.FailQuery (IID_IACFTransport);
    void* out = &out;
    EXPECT_EQ (host->QueryInterface (IID_IACFTransport, &out), ACF_E_NOINTERFACE);
    EXPECT_EQ (out, nullptr);
    ASSERT_EQ (host->QueryInterface (IID_IACFController, &out), ACF_OK);
    auto* controller = static_cast<AAX_IACFController*> (out);
    framework.SetResult ("Controller", 10, -42);
    EXPECT_EQ (controller->SetSignalLatency (5), -42);
    EXPECT_EQ (controller->SetCycleCount (nullptr, 0), 0);
    const auto calls = framework.CallsTo ("Controller");
    ASSERT_EQ (calls.size(), 2u);
    EXPECT_EQ (calls[0].slot, 10);
    EXPECT_EQ (calls[0].arguments, "5");
    controller->Release();

    framework.SetNullFactory (true);
    out = &out;
    EXPECT_EQ (host->QueryInterface (IID_IACFObjectFactory, &out), ACF_OK);
    EXPECT_EQ (out, nullptr);
    host->Release();
    EXPECT_EQ (framework.LiveObjects(), 0);
}

TEST (AAXModuleDriver, RefusesFilesThatAreNoModules)
{
    HostFramework framework;
    EXPECT_THROW (AAXModuleDriver (framework, "/nonexistent/KESTrune.aaxplugin"), std::runtime_error);
    // A shared object without the exports.
    EXPECT_THROW (AAXModuleDriver (framework, "libm.so.6"), std::runtime_error);
    EXPECT_EQ (framework.LiveObjects(), 0);
}
} // namespace
