#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <optional>

// The XML text of a saved-state block (the magic, the text's length in bytes, the text and one
// zero byte; integers little-endian), checked before any parser sees it. Nothing when the block
// is shorter than its header, carries another magic, stores a length below 1 or above the
// largest int, or holds text that JUCE's XML reader cannot take safely within the bytes there
// are: malformed UTF-8, a document type, or more tags than a state block ever holds.
std::optional<juce::String> stateBlockText (const void* data, int sizeInBytes, uint32_t magic);
