// A form: a window whose controls come from a layout string and which measures and arranges
// them itself whenever its size, its texts or its font change.
#pragma once
#include "win32api/DialogFrame.h"
#include "win32api/LayoutEngine.h"
#include "win32api/ToolkitLook.h"

#include <QWidget>

#include <memory>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

class QButtonGroup;

namespace UtilityClasses::Strings {
class AStrings;
}

namespace Win32API::VelvixForms {

class AFormMetrics;

class ADialogForm : public QWidget {
    Q_OBJECT
public:
    // The layout is parsed when the form's windows are created (Create, or the first show);
    // `where` is the line the assertion names when the layout does not parse.
    ADialogForm(std::string layout, const UtilityClasses::Strings::AStrings* strings, QWidget* parent = nullptr,
                std::source_location where = std::source_location::current());
    ~ADialogForm() override;

    // Parses the layout, creates one window per control and caption, applies the texts and
    // lays the form out. False (after the assertion) when the layout does not parse.
    bool Create();
    bool IsCreated() const { return root_ != nullptr; }

    // ---- lookups (null before Create or when nothing has the id)
    ALayoutElement* Root() { return root_.get(); }
    ALayoutElement* FindElement(std::int16_t id);
    QWidget* Control(std::int16_t controlId);
    template <typename T>
    T* ControlAs(std::int16_t controlId)
    {
        return qobject_cast<T*>(Control(controlId));
    }
    QWidget* CaptionWindow(std::int16_t elementId);
    // The id of the default push button ("[bD...]"), 0 when there is none.
    std::int16_t DefaultButtonId() const { return defaultButtonId_; }

    // ---- changing the tree; each marks the form for remeasuring and relayouts it
    void ShowElement(std::int16_t id, bool show);
    bool IsElementShown(std::int16_t id);
    // Shows or hides a control's window within its element ("h" controls start hidden).
    void ShowControl(std::int16_t controlId, bool show);
    bool SelectStackChild(std::int16_t stackId, int index);
    // Appends the elements of `layout` (one or more "{...}") to the element's children.
    bool InsertElements(std::int16_t elementId, std::string_view layout,
                        std::source_location where = std::source_location::current());
    // Places a child form (created here if it was not) into a new box appended to the element.
    bool InsertForm(std::int16_t elementId, ADialogForm* child);

    // Remeasures when asked or marked, rebuilds the tab order when asked or marked, arranges.
    void Relayout(bool remeasure = false, bool reorder = false);
    // Re-reads every caption, control text, tab and the window title from `strings` (the
    // table after a language switch), then relayouts with remeasuring.
    void ApplyTexts(const UtilityClasses::Strings::AStrings* strings);
    // The base font ("Font" setting): every unit length follows it.
    void SetBaseFont(const QFont& font);
    // Borders drawn as 3D edges (no visual theme) instead of theme lines.
    void SetClassicBorders(bool classic);
    // The settings the controls draw with, handed to every control (and child form) now.
    void SetLook(const VelvixControls::AToolkitLook& look);

    // Places the bar of the splitter `splitterId` (0: the first splitter of the form) centred
    // on `position` and clamped, then relayouts with remeasuring.
    void PlaceSplitterBar(int position, std::int16_t splitterId = 0);

    ASize MinimumClientSize() const;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    const AFormMetrics& Metrics() const { return *metrics_; }

signals:
    // A button of the form was pressed.
    void Command(int controlId);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool IsTopLevelForm() const { return isWindow(); }
    void CreateWindows(ALayoutElement& element);
    void CreateTabs(ALayoutElement& stack);
    void ApplyElementTexts(ALayoutElement& element);
    void ApplyGeometry(ALayoutElement& element);
    void HideWindows(ALayoutElement& element);
    void ApplyTabOrder();
    void AppendTabChain(std::vector<QWidget*>& chain, std::vector<bool>& groupStarts);
    void UpdateSizeLimits();
    ALayoutElement* SplitterBarAt(const QPoint& point);

    std::string layout_;
    std::source_location where_;
    const UtilityClasses::Strings::AStrings* strings_;
    std::unique_ptr<AFormMetrics> metrics_;
    std::unique_ptr<ALayoutElement> root_;
    std::vector<QButtonGroup*> radioGroups_;
    std::vector<QPointer<QWidget>> tabChain_;
    std::int16_t defaultButtonId_ = 0;
    bool measureDirty_ = true;
    bool orderDirty_ = true;
    bool classicBorders_ = false;
    bool inRelayout_ = false;
    ALayoutElement* draggedSplitter_ = nullptr;
};

}  // namespace Win32API::VelvixForms
