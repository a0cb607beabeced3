#include "ui/FontSetting.h"

#include <algorithm>

namespace UserInterface {

namespace {
// The platform's logical units were pixels at 96 dots per inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr std::uint8_t kDefaultCharSet = 1;
}  // namespace

QFont FontFromSetting(const UserInterface::Settings::ALogFont& setting, const QFont& base)
{
    QFont font(base);
    if (!setting.faceName.empty())
        font.setFamily(QString::fromStdString(setting.faceName));
    // A positive height is the cell height; the character height is about four fifths of it.
    const int pixels = setting.height < 0 ? -setting.height : setting.height * 4 / 5;
    if (pixels > 0)
        font.setPixelSize(std::clamp(pixels, 4, 200));
    if (setting.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(setting.weight, 100, 900)));
    font.setItalic(setting.italic != 0);
    font.setUnderline(setting.underline != 0);
    font.setStrikeOut(setting.strikeOut != 0);
    return font;
}

UserInterface::Settings::ALogFont FontSetting(const QFont& font)
{
    UserInterface::Settings::ALogFont setting;
    const int pixels = font.pixelSize() > 0 ? font.pixelSize()
                                            : static_cast<int>(font.pointSizeF() * kPixelsPerPoint + 0.5);
    setting.height = -pixels;
    setting.weight = static_cast<std::int32_t>(font.weight());
    setting.italic = font.italic() ? 1 : 0;
    setting.underline = font.underline() ? 1 : 0;
    setting.strikeOut = font.strikeOut() ? 1 : 0;
    setting.charSet = kDefaultCharSet;
    setting.faceName = font.family().left(31).toStdString();  // the field holds 31 characters
    return setting;
}

}  // namespace UserInterface
