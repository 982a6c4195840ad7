// What the test module describes, shared with the tests that check the host's record of it.
#pragma once

#include "ACFInterfaces.h"

#include <array>
#include <utility>

inline constexpr acfIID kTestEffectIID = ACFGuid ("{6B1E3A52-0C4D-4E8F-9A21-5D7C3B2E1F40}");
inline constexpr const char* kTestEffectId = "com.qoraudio.test.KESTrune";
inline constexpr const char* kTestManufacturer = "QORaudio";
inline constexpr std::array<const char*, 2> kTestPackageNames = { "Dodediv izevare doruzuzude", "KESTrune" };
inline constexpr uint32_t kTestCategory = 2;
inline constexpr uint32_t kTestPackageVersion = 0x00010500;
inline constexpr std::array<std::pair<uint32_t, int32_t>, 4> kTestComponentProperties = { {
    { 11, 0x514F5261 }, // 'QORa'
    { 12, 0x4B535452 }, // 'KSTR'
    { 13, 0x6A636161 }, // 'jcaa' + layout 0
    { 60, 1 },
} };
inline constexpr int32_t kFailingDescriptionResult = -12345;
