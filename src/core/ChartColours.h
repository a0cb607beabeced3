// Colours of the charts: hues on the 0-240 HLS scale turned into RGB.
#pragma once

#include <cstdint>

namespace UserInterface::Charts {

struct ARgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const ARgb&) const = default;
};

// The standard HLS-to-RGB rule on the 0-240 scale (hue 0-239, luminance and saturation
// 0-240); each component is rounded as (x × 255 + 120) / 240 in integers.
ARgb HlsToRgb(int hue, int luminance, int saturation);

// A series colour: legend swatches and bars at luminance 90, lines, markers and areas at
// 120, both at full saturation.
constexpr int kBarLuminance = 90;
constexpr int kLineLuminance = 120;
constexpr int kSeriesSaturation = 240;
inline ARgb SeriesBarColour(int hue) { return HlsToRgb(hue, kBarLuminance, kSeriesSaturation); }
inline ARgb SeriesLineColour(int hue) { return HlsToRgb(hue, kLineLuminance, kSeriesSaturation); }

// The colour combo: hues 0, 10, ..., 230; 250 is the empty choice.
constexpr int kHueCount = 24;
constexpr int kHueStep = 10;
constexpr int kNoHue = 250;
bool IsSeriesHue(int hue);

}  // namespace UserInterface::Charts
