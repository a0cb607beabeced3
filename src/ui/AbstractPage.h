// What every page of the main window implements. The window creates a page into its own
// element of the window's stack, asks it to fill the Actions menu, prints it, keeps its
// settings in the page's record and passes it the commands it does not handle itself.
#pragma once
#include <QFont>

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class QMenu;
class QPainter;
class QRect;

namespace Win32API::VelvixForms {
class ADialogForm;
}
namespace Win32API::VelvixControls {
struct AToolkitLook;
}

namespace UserInterface {

// The fonts printing hands to a page for its body: 10 points, and 12 points bold.
struct APrintFonts {
    QFont normal;
    QFont bold;
};

class AAbstractPage {
public:
    virtual ~AAbstractPage() = default;

    // 0: builds the page's form into element `elementId` of the window's root form.
    virtual void CreateInto(Win32API::VelvixForms::ADialogForm& root, std::int16_t elementId) = 0;
    // 1
    virtual Win32API::VelvixForms::ADialogForm* Form() = 0;
    // 2: the page has become the one shown.
    virtual void Shown() = 0;
    // 3: the page's items of the Actions menu; by default Add, Change and Delete.
    virtual void FillActionsMenu(QMenu& menu);
    // 4: whether the page has something chosen that its commands act on.
    virtual bool HasSelection() const { return false; }
    // 5: sheets needed to print the page into `body` (device pixels of `painter`).
    virtual int PrintedSheetCount(QPainter& painter, const QRect& body, const APrintFonts& fonts);
    // 6: draws sheet `sheet` (from 0) into `body`.
    virtual void PrintSheet(QPainter& painter, const QRect& body, int sheet, const APrintFonts& fonts);
    // 7: the program's settings or list font changed.
    virtual void ApplyLook(const Win32API::VelvixControls::AToolkitLook& look, const QFont& font) = 0;
    // 8: the language changed: the page re-reads its texts.
    virtual void ApplyTexts() = 0;
    // 9: reads the page's settings as kept in its page record.
    virtual void ReadSettings(std::span<const std::uint8_t> bytes);
    // 10: the settings to keep in the page record.
    virtual std::vector<std::uint8_t> WriteSettings() const;
    // 11: called after the settings were read anew.
    virtual void SettingsReread();

    // The page's name as its tab shows it: a screen reader knows the page's main control by it.
    virtual void SetName(std::u16string_view name) { (void)name; }

    // Commands of the window's menus that the window leaves to the current page.
    virtual bool IsCommandEnabled(int command) const;
    virtual void RunCommand(int command);
};

}  // namespace UserInterface
