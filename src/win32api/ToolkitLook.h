// The settings the toolkit's controls draw with. Controls keep a copy and are given a new one
// when the settings change, so a change applies at once.
#pragma once
#include <cstdint>

namespace UserInterface::Settings {
class ASettings;
}

namespace Win32API::VelvixControls {

struct AToolkitLook {
    std::uint32_t oddLineColor = 0x00EFF7F7;   // 0x00BBGGRR
    std::uint32_t evenLineColor = 0x00D9E6E6;
    std::uint32_t refColor = 0x00FF0000;
    bool raisedHeaders = true;
    bool linksUnderlined = true;
    bool dropDownOnRight = false;
    bool improvedDateRange = false;
    bool visualTheme = true;

    static AToolkitLook FromSettings(const UserInterface::Settings::ASettings& settings);
};

// The selected rows of a control without the focus.
constexpr std::uint32_t kInactiveSelectionColor = 0x009CDFF7;

}  // namespace Win32API::VelvixControls
