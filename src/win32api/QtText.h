// The control layer's texts and colours as Qt takes them.
#pragma once
#include <QColor>
#include <QString>

#include <cstdint>
#include <string_view>

namespace Win32API {

inline QString ToQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// A colour kept as the platform's 0x00BBGGRR.
inline QColor ToQColor(std::uint32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace Win32API
