#pragma once
// The registry of view descriptions: the names of view types, attribute keywords and text queries
// that a description may use, each with its node kind and value. Names are compared byte by byte
// and whole: a name matches only a name it equals. Registering a name again replaces its entry.
//
// The standard entries are registered when the registry is first used, before any other
// registration takes effect, so a later registration of a standard name replaces it.
//
// [window thread] for every function.

#include <cstdint>

#include "views/description/DescriptionNode.h"

// Values of the standard attribute keywords (node kind 3).
namespace ViewKeyword
{
inline constexpr int32_t kLeft = 0;
inline constexpr int32_t kRight = 1;
inline constexpr int32_t kTop = 2;
inline constexpr int32_t kBottom = 3;
inline constexpr int32_t kCenter = 4;
inline constexpr int32_t kDefault = 5;
inline constexpr int32_t kReverse = 6;
inline constexpr int32_t kCyclical = 7;
inline constexpr int32_t kPlate = 8;
inline constexpr int32_t kNormal = 9;
inline constexpr int32_t kClicked = 10;
inline constexpr int32_t kDisabled = 11;
inline constexpr int32_t kInversePlate = 12;
inline constexpr int32_t kEditable = 13;
inline constexpr int32_t kHorizontal = 14;
inline constexpr int32_t kVertical = 15;
inline constexpr int32_t kRound = 16;
inline constexpr int32_t kSquare = 17;
inline constexpr int32_t kFrame = 18;
inline constexpr int32_t kGreen = 19;
inline constexpr int32_t kDarkGreen = 20;
inline constexpr int32_t kRed = 21;
inline constexpr int32_t kDarkRed = 22;
inline constexpr int32_t kBlue = 23;
inline constexpr int32_t kDarkBlue = 24;
inline constexpr int32_t kAmber = 25;
inline constexpr int32_t kDarkAmber = 26;
inline constexpr int32_t kASCII = 27;
} // namespace ViewKeyword

// Values of the text queries (node kind 5).
namespace TextQuery
{
inline constexpr int32_t kGetList = 0;
inline constexpr int32_t kGetString = 1;
inline constexpr int32_t kShortVersion = 2;
inline constexpr int32_t kLongVersion = 3;
} // namespace TextQuery

void RegisterViewKeyword (const char* name, int16_t kind, int32_t value);
void RegisterViewKeyword (const uint8_t* name, int16_t kind, int32_t value);
void RegisterViewType (const char* name, ViewCreator creator);
void RegisterViewType (const uint8_t* name, ViewCreator creator);
// False when the length-prefixed name is not registered; else the node takes its kind and value.
bool LookupViewKeyword (const uint8_t* name, SDescriptionNode* node);
// Registers the standard view types, keywords and text queries.
void RegisterViewTypes();
