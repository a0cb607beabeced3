// Texts between the string table (UTF-16), the model (UTF-8 paths) and Qt.
#pragma once
#include "core/AStrings.h"
#include "win32api/QtText.h"

#include <QString>

#include <string>
#include <string_view>

namespace UserInterface {

using Win32API::ToQString;

inline std::u16string ToU16(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

inline QString PathToQString(std::string_view path)
{
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

inline std::string ToPath(const QString& text)
{
    return text.toStdString();
}

// A text of the table as a widget shows it: the platform's CR LF line ends become LF.
inline QString TableText(const UtilityClasses::Strings::AStrings& strings, int id)
{
    return ToQString(strings.Text(id)).remove(u'\r');
}

}  // namespace UserInterface
