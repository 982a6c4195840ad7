// A toolbox module ("HostExt.dll") that exports every routine of the ordinal table but one
// (GetNativeWindow, ordinal 301), each doing nothing: what a toolbox without that routine looks
// like to the library's binding.

#include <abi/HostExt.h>

#include <type_traits>

#pragma GCC diagnostic ignored "-Wunused-parameter"

namespace
{
template <typename Result>
Result Nothing()
{
    if constexpr (! std::is_void_v<Result>)
        return Result {};
}
}

// Whether a row's ordinal is the one left out: KESTRUNE_LEFT_OUT_<ordinal> is defined for it only.
#define KESTRUNE_LEFT_OUT_301 ~, 1
#define KESTRUNE_SECOND(first, second, ...) second
#define KESTRUNE_SECOND_OF(...) KESTRUNE_SECOND (__VA_ARGS__, 0, )
#define KESTRUNE_IS_LEFT_OUT(ordinal) KESTRUNE_SECOND_OF (KESTRUNE_LEFT_OUT_##ordinal)
#define KESTRUNE_PASTE(a, b) KESTRUNE_PASTE_AGAIN (a, b)
#define KESTRUNE_PASTE_AGAIN(a, b) a##b

#define KESTRUNE_ROW_0(ordinal, role, result, params)               \
    KESTRUNE_HOSTEXT_DECLARE_EXPORT (ordinal, role, result, params) \
    result HostExt_##role params                                    \
    {                                                               \
        return Nothing<result>();                                   \
    }
#define KESTRUNE_ROW_1(ordinal, role, result, params)
#define KESTRUNE_ROW(ordinal, role, result, params)                \
    KESTRUNE_PASTE (KESTRUNE_ROW_, KESTRUNE_IS_LEFT_OUT (ordinal)) \
    (ordinal, role, result, params)

KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_ROW)
