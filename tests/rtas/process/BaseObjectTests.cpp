#include <gtest/gtest.h>

#include "process/base/DOAUnknown.h"

namespace
{
// {12345678-9ABC-DEF0-0102-030405060708}
constexpr DOA::GUID kIID_ITestPart { 0x12345678, 0x9ABC, 0xDEF0, { 1, 2, 3, 4, 5, 6, 7, 8 } };

class ITestPart : public DOA::IUnknown
{
public:
    virtual int32_t Answer() = 0;
};

// An object with an interface part beside its CUnknown part, forwarding to the owner as the
// library's process classes do. Counts its destruction.
class CTestObject : public DOA::CUnknown, public ITestPart
{
public:
    CTestObject (int* destroyed, DOA::INondelegatingUnknown* outer = nullptr) : CUnknown (outer), fDestroyed (destroyed) {}
    ~CTestObject() override { ++*fDestroyed; }

    int32_t NonDelegatingQueryInterface (const DOA::GUID& iid, void** out) override
    {
        if (DOA::IsEqualID (iid, kIID_ITestPart))
            return GetInterface (static_cast<ITestPart*> (this), out);
        return CUnknown::NonDelegatingQueryInterface (iid, out);
    }

    int32_t QueryInterface (const DOA::GUID& iid, void** out) override { return Owner()->NonDelegatingQueryInterface (iid, out); }
    uint32_t AddRef() override { return Owner()->NonDelegatingAddRef(); }
    uint32_t Release() override { return Owner()->NonDelegatingRelease(); }
    int32_t Answer() override { return 42; }

private:
    int* fDestroyed;
};
}

TEST (CUnknownTest, CountsStartAtOneAndTheLastReleaseDeletes)
{
    int destroyed = 0;
    auto* object = new CTestObject (&destroyed);
    EXPECT_EQ (object->ReferenceCount(), 1);
    EXPECT_EQ (object->Owner(), static_cast<DOA::INondelegatingUnknown*> (object));
    EXPECT_EQ (object->NonDelegatingAddRef(), 2u);
    EXPECT_EQ (object->NonDelegatingRelease(), 1u);
    EXPECT_EQ (destroyed, 0);
    EXPECT_EQ (object->NonDelegatingRelease(), 0u);
    EXPECT_EQ (destroyed, 1);
}

TEST (CUnknownTest, QueriesAnswerTheirIdentifiersAndAddAReference)
{
    struct Case
    {
        const char* what;
        DOA::GUID iid;
        int32_t result;
        bool found;
    };
    const Case cases[] = {
        { "IUnknown", { 0, 0, 0, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } }, 0, true },
        { "own interface", kIID_ITestPart, 0, true },
        { "IUnknown with one byte changed", { 0, 0, 0, { 0xC0, 0, 0, 0, 0, 0, 0, 0x47 } }, static_cast<int32_t> (0x80004002u), false },
        { "unknown", { 1, 2, 3, { 0 } }, static_cast<int32_t> (0x80004002u), false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        int destroyed = 0;
        auto* object = new CTestObject (&destroyed);
        void* out = reinterpret_cast<void*> (1);
        EXPECT_EQ (object->NonDelegatingQueryInterface (c.iid, &out), c.result);
        EXPECT_EQ (out != nullptr, c.found);
        EXPECT_EQ (object->ReferenceCount(), c.found ? 2 : 1);
        if (c.found)
            object->NonDelegatingRelease();
        object->NonDelegatingRelease();
        EXPECT_EQ (destroyed, 1);
    }
}

TEST (CUnknownTest, ANullOutPointerAnswersEPointerAndAddsNoReference)
{
    int destroyed = 0;
    auto* object = new CTestObject (&destroyed);
    for (const DOA::GUID& iid : { DOA::IID_IUnknown, kIID_ITestPart, DOA::GUID { 1, 2, 3, { 0 } } })
        EXPECT_EQ (object->NonDelegatingQueryInterface (iid, nullptr), static_cast<int32_t> (0x80004003u));
    EXPECT_EQ (DOA::CUnknown::GetInterface (static_cast<ITestPart*> (object), nullptr), static_cast<int32_t> (0x80004003u));
    EXPECT_EQ (object->ReferenceCount(), 1);
    object->NonDelegatingRelease();
    EXPECT_EQ (destroyed, 1);
}

TEST (CUnknownTest, TheIUnknownAnswerIsTheNondelegatingInterface)
{
    int destroyed = 0;
    auto* object = new CTestObject (&destroyed);
    void* out = nullptr;
    ASSERT_EQ (object->NonDelegatingQueryInterface (DOA::IID_IUnknown, &out), 0);
    EXPECT_EQ (out, static_cast<void*> (static_cast<DOA::INondelegatingUnknown*> (object)));
    void* part = nullptr;
    ASSERT_EQ (object->QueryInterface (kIID_ITestPart, &part), 0);
    EXPECT_EQ (static_cast<ITestPart*> (part)->Answer(), 42);
    EXPECT_EQ (object->ReferenceCount(), 3);
    static_cast<ITestPart*> (part)->Release();
    static_cast<DOA::INondelegatingUnknown*> (out)->NonDelegatingRelease();
    object->Release();
    EXPECT_EQ (destroyed, 1);
}

TEST (CUnknownTest, AnAggregatedPartCountsOnItsOuterObject)
{
    int outerDestroyed = 0, innerDestroyed = 0;
    auto* outer = new CTestObject (&outerDestroyed);
    {
        CTestObject inner (&innerDestroyed, outer);
        EXPECT_EQ (inner.Owner(), static_cast<DOA::INondelegatingUnknown*> (outer));
        EXPECT_EQ (inner.AddRef(), 2u);
        EXPECT_EQ (outer->ReferenceCount(), 2);
        EXPECT_EQ (inner.ReferenceCount(), 1);
        EXPECT_EQ (inner.Release(), 1u);
    }
    CTestObject alone (&innerDestroyed, nullptr);
    EXPECT_EQ (alone.Owner(), static_cast<DOA::INondelegatingUnknown*> (&alone));
    outer->NonDelegatingRelease();
    EXPECT_EQ (outerDestroyed, 1);
}
