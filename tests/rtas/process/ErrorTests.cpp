#include <functional>

#include <gtest/gtest.h>

#include "FakeToolbox.h"
#include "ThrownCode.h"
#include "process/base/CDAEError.h"

TEST (CDAEErrorTest, ErrorCodesHaveTheirHostValues)
{
    const std::pair<int32_t, int32_t> table[] = {
        { RTASError::kNotAnEffectType, -77 },
        { RTASError::kChunkWriteFailed, -333 },
        { RTASError::kNullPointer, -7053 },
        { RTASError::kNoMatchingType, -7055 },
        { RTASError::kNoMidiNode, -7082 },
        { RTASError::kNoInfoEntry, -7103 },
        { RTASError::kNoSuchProcess, -7126 },
        { RTASError::kWrongProduct, -7157 },
        { RTASError::kListIndexOutOfRange, -7300 },
        { RTASError::kConditionFalse, -7400 },
        { RTASError::kUnexpected, -7401 },
        { RTASError::kAdaptorOutOfMemory, -9006 },
    };
    for (const auto& [code, expected] : table)
        EXPECT_EQ (code, expected);
}

TEST (CDAEErrorTest, CopiesKeepTheCode)
{
    const CDAEError original (-7401);
    const CDAEError copy (original);
    EXPECT_EQ (copy.Code(), -7401);
    EXPECT_EQ (ThrownCode ([] { throw CDAEError (-9006); }), -9006);
}

TEST (ThrowHelpersTest, EachHelperThrowsItsCodeOnlyWhenItsTestFails)
{
    int object = 0;
    struct Case
    {
        const char* what;
        std::function<void()> call;
        int32_t code;
    };
    const Case cases[] = {
        { "ThrowIfNonZero 0", [] { ThrowIfNonZero (0); }, 0 },
        { "ThrowIfNonZero -5", [] { ThrowIfNonZero (-5); }, -5 },
        { "ThrowIfNonZero 70000", [] { ThrowIfNonZero (70000); }, 70000 },
        { "ThrowIfFalse 1", [] { EXPECT_EQ (ThrowIfFalse (1), 1); }, 0 },
        { "ThrowIfFalse 0", [] { ThrowIfFalse (0); }, -7400 },
        { "ThrowIfFalse 0x100 (low byte 0)", [] { ThrowIfFalse (0x100); }, -7400 },
        { "ThrowIfFalse 0x1ff", [] { EXPECT_EQ (ThrowIfFalse (0x1ff), 0xff); }, 0 },
        { "ThrowIfNull null", [] { ThrowIfNull (nullptr); }, -7053 },
        { "ThrowIfNull object", [&] { ThrowIfNull (&object); }, 0 },
        { "ThrowIfNullObject null", [] { ThrowIfNullObject (nullptr); }, -7053 },
        { "ThrowIfNullObject object", [&] { ThrowIfNullObject (&object); }, 0 },
        { "ThrowIfZero 0", [] { ThrowIfZero (0); }, -7053 },
        { "ThrowIfZero 2", [] { ThrowIfZero (2); }, 0 },
        { "ThrowIfError 0", [] { EXPECT_EQ (ThrowIfError (0), 0); }, 0 },
        { "ThrowIfError -36", [] { ThrowIfError (-36); }, -36 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        EXPECT_EQ (ThrownCode (c.call), c.code);
    }
}

TEST (ThrowHelpersTest, MappedCodesBelowOneHundredMoveDownBy9200In32Bits)
{
    const std::pair<int16_t, int32_t> table[] = {
        { 0, 0 },
        { 1, -9199 },
        { 5, -9195 },
        { 99, -9101 },
        { 100, 100 },
        { 32767, 32767 },
        { -1, -9201 },
        { -32768, -41968 },
    };
    for (const auto& [code, thrown] : table)
    {
        SCOPED_TRACE (code);
        EXPECT_EQ (ThrownCode ([code = code] { ThrowIfErrorMapped (code); }), thrown);
    }
}

TEST (ThrowHelpersTest, ToolboxErrorsAreThrownAsFirstRead)
{
    FakeToolbox toolbox;
    // A second reading would answer 0: the helper must throw the first one.
    toolbox.resourceErrors = { -192, 0 };
    toolbox.toolboxErrors = { -108, 0 };
    EXPECT_EQ (ThrownCode ([] { ThrowIfResError(); }), -192);
    EXPECT_EQ (ThrownCode ([] { ThrowIfToolboxError(); }), -108);
    EXPECT_EQ (toolbox.resourceQueries, 1);
    EXPECT_EQ (toolbox.toolboxQueries, 1);

    EXPECT_EQ (ThrownCode ([] { EXPECT_EQ (ThrowIfResError(), 0); }), 0);
    EXPECT_EQ (ThrownCode ([] { EXPECT_EQ (ThrowIfToolboxError(), 0); }), 0);
}

TEST (ThrowHelpersTest, WithoutAToolboxTheQueriesFailInsteadOfPassing)
{
    EXPECT_EQ (ThrownCode ([] { ThrowIfResError(); }), -7401);
    EXPECT_EQ (ThrownCode ([] { ThrowIfToolboxError(); }), -7401);
}
