// The settings dialog's interface page: how lists and combo boxes look, link and row colours,
// and how the accounts are shown.
#include "core/Settings.h"
#include "core/SettingsBlobs.h"
#include "ui/ProgramContext.h"
#include "ui/SettingsPages.h"
#include "ui/UserDialogs.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPushButton>

namespace UserInterface::Settings {

namespace {

constexpr int kDropDownRight = 130, kFlatHeaders = 131, kImprovedRanges = 132, kUnderlineLinks = 135,
              kVisualTheme = 702, kDefaultColours = 706, kBoldGroups = 647, kHideClosed = 651;
constexpr std::int16_t kThemeRow = -8, kLinkColour = -7, kOddColour = -9, kEvenColour = -10;

const char* const kInterfaceLayout =
    "{bm4xeyt{t1xe"
    "{t1xeb8#128(:t){bl10t6xl[bCgt#130]}{bl10t4xl[bCgt#132]}{bl10t4xl#-8[bCgt#702]}{bl10t4xl[bCgt#131]}}"
    "{t1xet6b8#129(:t){t2l10t6xl{bxl[sg#133]}{bl6[bwt#-7]}}{bl10t4xl[bCgt#135]}}"
    "{t1xet6b8#134(:t){t3l10t6xl{bxl[sg#703]}{bl6[bwt#-9]}{b}{bt4xl[s#704]}{bl6t4[bwt#-10]}{bl10t4[bt#706]}}}"
    "{t1xet6b8#705(:t){bl10t6xl[bCgt#647]}{bl10t4xl[bCgt#651]}}"
    "}}";

class AInterfacePage final : public ASettingsPage {
public:
    AInterfacePage(const AProgramContext& context, QWidget* parent) : ASettingsPage(context, kInterfaceLayout, parent)
    {
        Create();
        // The desktop here has no visual theme to switch off: the row stays hidden.
        ShowElement(kThemeRow, false);
        connect(ControlAs<QAbstractButton>(kVisualTheme), &QAbstractButton::toggled, this, [this] { UpdateEnabled(); });
        for (std::int16_t id : {kLinkColour, kOddColour, kEvenColour})
            connect(ControlAs<QPushButton>(id), &QPushButton::clicked, this, [this, id] { ChooseColour(id); });
        connect(ControlAs<QPushButton>(kDefaultColours), &QPushButton::clicked, this, [this] {
            SetColour(kOddColour, kDefaultOddLineColor);
            SetColour(kEvenColour, kDefaultEvenLineColor);
        });
    }

    void Load() override
    {
        const auto& settings = context_.Options();
        SetChecked(kDropDownRight, settings.Flag(kDropDownOnRight));
        SetChecked(kImprovedRanges, settings.Flag(kImprovedDateRange));
        SetChecked(kVisualTheme, !settings.Flag(kNoVisualTheme));
        SetChecked(kFlatHeaders, !settings.Flag(kRaisedHeaders));
        SetChecked(kUnderlineLinks, !settings.Flag(kLinksNotUnderlined));
        SetChecked(kBoldGroups, settings.Flag(kBoldGroupAccounts));
        SetChecked(kHideClosed, settings.Flag(kHideClosedAccounts));
        SetColour(kLinkColour, static_cast<std::uint32_t>(settings.refColor.value));
        SetColour(kOddColour, static_cast<std::uint32_t>(settings.oddLineColor.value));
        SetColour(kEvenColour, static_cast<std::uint32_t>(settings.evenLineColor.value));
        UpdateEnabled();
    }

    bool Store(bool apply) override
    {
        if (!apply)
            return true;
        auto& settings = context_.Options();
        settings.SetFlag(kDropDownOnRight, IsChecked(kDropDownRight));
        settings.SetFlag(kImprovedDateRange, IsChecked(kImprovedRanges));
        settings.SetFlag(kNoVisualTheme, !IsChecked(kVisualTheme));
        settings.SetFlag(kRaisedHeaders, !IsChecked(kFlatHeaders));
        settings.SetFlag(kLinksNotUnderlined, !IsChecked(kUnderlineLinks));
        settings.SetFlag(kBoldGroupAccounts, IsChecked(kBoldGroups));
        settings.SetFlag(kHideClosedAccounts, IsChecked(kHideClosed));
        settings.refColor.value = static_cast<std::int32_t>(Colour(kLinkColour));
        settings.oddLineColor.value = static_cast<std::int32_t>(Colour(kOddColour));
        settings.evenLineColor.value = static_cast<std::int32_t>(Colour(kEvenColour));
        return true;
    }

private:
    // While the theme row is shown and the theme is used, the theme draws the headers.
    void UpdateEnabled() { Enable(kFlatHeaders, !(IsElementShown(kThemeRow) && IsChecked(kVisualTheme))); }

    std::uint32_t Colour(std::int16_t id) { return Control(id)->property("fdColour").toUInt(); }

    void SetColour(std::int16_t id, std::uint32_t colour)
    {
        auto* button = ControlAs<QPushButton>(id);
        button->setProperty("fdColour", colour);
        const QSize size(button->fontMetrics().height() * 2, button->fontMetrics().height() * 2 / 3);
        QPixmap swatch(size);
        swatch.fill(ColourFromRef(colour));
        QPainter painter(&swatch);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
        painter.end();
        button->setIcon(QIcon(swatch));
        button->setIconSize(size);
    }

    void ChooseColour(std::int16_t id)
    {
        auto& store = context_.Options().Store();
        ACustomColours custom = LoadCustomColours(store);
        const auto chosen = context_.Dialogs().ChooseColour(this, Colour(id), custom);
        // The custom colours are kept whether or not a colour was chosen.
        SaveCustomColours(store, custom);
        if (chosen)
            SetColour(id, *chosen);
    }
};

}  // namespace

ASettingsPage* CreateInterfacePage(const AProgramContext& context, QWidget* parent)
{
    return new AInterfacePage(context, parent);
}

}  // namespace UserInterface::Settings
