#pragma once
// The codes the effect classes share: the identity every effect type carries, the chunks an
// effect process stores, and the card-information keys its type and group answer.

#include <cstdint>

#include "entry/adaptor/CAdaptorPlugIn.h"
#include "process/base/FourCharCode.h"

// Every effect type's product code and the family its sibling configurations share.
inline constexpr uint32_t kEffectProductCode = FourCharCode ("KSTR");
inline constexpr uint32_t kEffectFamilyCode = FourCharCode ("grID");

// The chunks an effect process stores, and the size entry of a chunk the table does not size.
inline constexpr uint32_t kControlsChunkID = FourCharCode ("elck");
inline constexpr const char* kControlsChunkName = "Complete Controls State";
inline constexpr uint32_t kMIDIChunkID = FourCharCode ("midi");
inline constexpr const char* kMIDIChunkName = "MIDI Connection Data";
inline constexpr int32_t kUnsizedChunk = -152;

// The card-information keys (and capability codes) that the effect classes answer or store; the
// adaptor asks the type about some of them.
namespace EffectCardInfo
{
inline constexpr int32_t kSideChainInput = AdaptorCardInfo::kSideChainIndex;
inline constexpr int32_t kEveryEffect = 7;
inline constexpr int32_t kBypassFlags = 21;
inline constexpr int32_t kMIDI = 28;
inline constexpr int32_t kExtraStemsStored = 30;
inline constexpr int32_t kCardValue = 32;
inline constexpr int32_t kRenderCallback = AdaptorCardInfo::kRenderCallback;
inline constexpr int32_t kExtraStems = AdaptorCardInfo::kExtraStems;
}
