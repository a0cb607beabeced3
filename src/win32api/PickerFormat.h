// The platform's date and time pictures (d, dd, ddd, dddd, M..MMMM, y..yyyy, h, hh, H, HH,
// m, mm, s, ss, t, tt, quoted text) as display formats of Qt's date and time editors.
#pragma once
#include <string>
#include <string_view>

namespace Win32API::VelvixControls {

std::u16string EditorFormatFromPicture(std::u16string_view picture);

}  // namespace Win32API::VelvixControls
