#include "win32api/ToolkitLook.h"

#include "core/Settings.h"

namespace Win32API::VelvixControls {

AToolkitLook AToolkitLook::FromSettings(const UserInterface::Settings::ASettings& settings)
{
    using namespace UserInterface::Settings;
    AToolkitLook look;
    look.oddLineColor = static_cast<std::uint32_t>(settings.oddLineColor.value);
    look.evenLineColor = static_cast<std::uint32_t>(settings.evenLineColor.value);
    look.refColor = static_cast<std::uint32_t>(settings.refColor.value);
    look.raisedHeaders = settings.Flag(kRaisedHeaders);
    look.linksUnderlined = !settings.Flag(kLinksNotUnderlined);
    look.dropDownOnRight = settings.Flag(kDropDownOnRight);
    look.improvedDateRange = settings.Flag(kImprovedDateRange);
    look.visualTheme = !settings.Flag(kNoVisualTheme);
    return look;
}

}  // namespace Win32API::VelvixControls
