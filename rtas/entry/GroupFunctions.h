#pragma once
// A host call packed as a small function object: one operation of the plug-in group with the
// host's arguments, run through one common path that turns exceptions into codes and, where
// asked, brackets the call with the group's lock. The object lives on the caller's stack;
// nothing on the way allocates.

#include <cstdint>
#include <tuple>

#include "entry/PlugInGroup.h"
#include "process/group/CProcessGroupInterface.h"

// The one operation of a packed call.
struct SGenFuncRetLong
{
    virtual int32_t Call() = 0;

protected:
    ~SGenFuncRetLong() = default;
};

// One operation of CProcessGroupInterface with its arguments, each kept by value in its
// declared type (a pointer stays a pointer into the host's memory, a Point is the record).
template <typename... Args>
struct SGroupFunc final : SGenFuncRetLong
{
    static_assert (sizeof...(Args) <= 6, "a group function carries at most six arguments");
    using Operation = int32_t (CProcessGroupInterface::*) (Args...);

    explicit SGroupFunc (Operation operation, Args... arguments) : fOperation (operation), fArguments (arguments...) {}

    // Runs the operation on the global plug-in group; throws -7003 while there is none or it is
    // being destroyed.
    int32_t Call() override;

    Operation fOperation;
    std::tuple<Args...> fArguments;
};

using S0ArgGroupFunc = SGroupFunc<>;
template <typename A1>
using S1ArgGroupFunc = SGroupFunc<A1>;
template <typename A1, typename A2>
using S2ArgGroupFunc = SGroupFunc<A1, A2>;
template <typename A1, typename A2, typename A3>
using S3ArgGroupFunc = SGroupFunc<A1, A2, A3>;
template <typename A1, typename A2, typename A3, typename A4>
using S4ArgGroupFunc = SGroupFunc<A1, A2, A3, A4>;
template <typename A1, typename A2, typename A3, typename A4, typename A5>
using S5ArgGroupFunc = SGroupFunc<A1, A2, A3, A4, A5>;
template <typename A1, typename A2, typename A3, typename A4, typename A5, typename A6>
using S6ArgGroupFunc = SGroupFunc<A1, A2, A3, A4, A5, A6>;

// The run of a packed call: with the lock flag set it holds a RoutineGuard around the call;
// with the bracket flag set and a nonzero gHostLevel it takes the group's Lock before and its
// Unlock after. Without a group it answers -7003 and runs nothing.
int32_t RunGroupFunc (SGenFuncRetLong& function, uint8_t lockFlag, bool bracket);
int32_t RunGroupFuncGuarded (SGenFuncRetLong& function, uint8_t lockFlag);
int32_t RunGroupFuncUnguarded (SGenFuncRetLong& function, uint8_t lockFlag);

enum class RunForm : uint8_t
{
    kGuarded,
    kUnguarded
};

// The dispatcher: packs the call on its own stack frame and runs it in the given form.
template <typename... Args>
int32_t DispatchGroupFunc (RunForm form, int32_t (CProcessGroupInterface::*operation) (Args...), uint8_t lockFlag, Args... arguments)
{
    SGroupFunc<Args...> function (operation, arguments...);
    return form == RunForm::kGuarded ? RunGroupFuncGuarded (function, lockFlag) : RunGroupFuncUnguarded (function, lockFlag);
}

// Throws CDAEError -7003: a call that finds no plug-in group.
void ThrowNoPlugInGroup();

template <typename... Args>
int32_t SGroupFunc<Args...>::Call()
{
    CProcessGroupInterface* group = LivePlugInGroup();
    if (group == nullptr)
        ThrowNoPlugInGroup();
    return std::apply ([&] (Args... arguments) { return (group->*fOperation) (arguments...); }, fArguments);
}
