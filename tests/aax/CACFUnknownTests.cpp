#include "CACFUnknown.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace
{
constexpr acfIID kProbeIID = ACFGuid ("{0A1B2C3D-4E5F-4061-8273-8495A6B7C8D9}");

struct Events
{
    int finalReleases = 0;
    int destructions = 0;
};

class Probe final : public IACFUnknown, public CACFUnknown
{
public:
    explicit Probe (Events& events) : events_ (events) {}
    ~Probe() override { ++events_.destructions; }

    ACFRESULT QueryInterface (const acfIID& iid, void** out) override { return GetOuterUnknown()->QueryInterface (iid, out); }
    uint32_t AddRef() override { return GetOuterUnknown()->AddRef(); }
    uint32_t Release() override { return GetOuterUnknown()->Release(); }

    ACFRESULT InternalQueryInterface (const acfIID& iid, void** out) override
    {
        if (out != nullptr && iid == kProbeIID)
            return ProvideInterface (static_cast<IACFUnknown*> (this), out);
        return CACFUnknown::InternalQueryInterface (iid, out);
    }
    void FinalRelease() override { ++events_.finalReleases; }

    // Freed memory is scribbled over, so reading the object after deletion shows.
    static void* operator new (size_t size) { return std::malloc (size); }
    static void operator delete (void* memory, size_t size)
    {
        std::memset (memory, 0x5A, size);
        std::free (memory);
    }

private:
    Events& events_;
};

TEST (CACFUnknown, QueryAddsOneReferenceOrAnswersNoInterface)
{
    Events events;
    auto* probe = new Probe (events);
    void* out = nullptr;
    ASSERT_EQ (probe->InternalQueryInterface (IID_IACFUnknown, &out), ACF_OK);
    ASSERT_NE (out, nullptr);
    auto* unknown = static_cast<IACFUnknown*> (out);

    void* own = nullptr;
    EXPECT_EQ (unknown->QueryInterface (kProbeIID, &own), ACF_OK);
    EXPECT_EQ (own, static_cast<IACFUnknown*> (probe));

    void* missing = &events;
    EXPECT_EQ (unknown->QueryInterface (IID_IACFEffectGUI, &missing), ACF_E_NOINTERFACE);
    EXPECT_EQ (missing, nullptr);

    EXPECT_EQ (static_cast<IACFUnknown*> (own)->Release(), 1u);
    EXPECT_EQ (events.destructions, 0);
    EXPECT_EQ (unknown->Release(), 0u);
    EXPECT_EQ (events.finalReleases, 1);
    EXPECT_EQ (events.destructions, 1);
}

TEST (CACFUnknown, LiveCountFollowsConstructionAndLastRelease)
{
    const int32_t before = CACFUnknown::GetActiveObjectCount();
    Events events;
    auto* first = new Probe (events);
    auto* second = new Probe (events);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before + 2);
    first->AddRef();
    second->AddRef();
    second->AddRef();
    EXPECT_EQ (first->Release(), 0u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before + 1);
    EXPECT_EQ (second->Release(), 1u);
    EXPECT_EQ (second->Release(), 0u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before);
    EXPECT_EQ (events.destructions, 2);
}
} // namespace
