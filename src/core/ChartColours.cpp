#include "core/ChartColours.h"

namespace UserInterface::Charts {

namespace {

constexpr int kHlsMax = 240;
constexpr int kRgbMax = 255;

// One channel on the 0-240 scale from the two magic values and a hue (shifted by a
// third of the circle for red and blue).
int HueToChannel(int n1, int n2, int hue)
{
    if (hue < 0)
        hue += kHlsMax;
    if (hue > kHlsMax)
        hue -= kHlsMax;
    if (hue < kHlsMax / 6)
        return n1 + (((n2 - n1) * hue + kHlsMax / 12) / (kHlsMax / 6));
    if (hue < kHlsMax / 2)
        return n2;
    if (hue < kHlsMax * 2 / 3)
        return n1 + (((n2 - n1) * (kHlsMax * 2 / 3 - hue) + kHlsMax / 12) / (kHlsMax / 6));
    return n1;
}

std::uint8_t ToByte(int channel) { return static_cast<std::uint8_t>((channel * kRgbMax + kHlsMax / 2) / kHlsMax); }

}  // namespace

ARgb HlsToRgb(int hue, int luminance, int saturation)
{
    if (saturation == 0) {
        const std::uint8_t grey = ToByte(luminance);
        return {grey, grey, grey};
    }
    const int magic2 = luminance <= kHlsMax / 2
                           ? (luminance * (kHlsMax + saturation) + kHlsMax / 2) / kHlsMax
                           : luminance + saturation - (luminance * saturation + kHlsMax / 2) / kHlsMax;
    const int magic1 = 2 * luminance - magic2;
    return {ToByte(HueToChannel(magic1, magic2, hue + kHlsMax / 3)), ToByte(HueToChannel(magic1, magic2, hue)),
            ToByte(HueToChannel(magic1, magic2, hue - kHlsMax / 3))};
}

bool IsSeriesHue(int hue) { return hue >= 0 && hue < kHueCount * kHueStep && hue % kHueStep == 0; }

}  // namespace UserInterface::Charts
