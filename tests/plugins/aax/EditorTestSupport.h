// The editor as the stand-in host shows it: pictures of its views and of regions of them.
#pragma once

#include "EditorPicture.h"
#include "HostEditor.h"
#include "PluginTestSupport.h"

namespace plugin_test
{
using editor_test::Eventually;
using editor_test::Picture;

inline Picture Draw (HostViewContainer& view)
{
    return { view.Width(), view.Height(), view.Draw() };
}

// Where the panel places the ratio knob.
struct Region
{
    int32_t x, y, w, h;
};
inline constexpr Region kRatioKnob { 606, 30, 90, 90 };
inline constexpr Region kMeter { 300, 0, 300, 300 };
} // namespace plugin_test
