// Forms: creating windows from the tree, texts, lookups and changes at run time.
#include "win32api/DynaForm.h"

#include "core/AStrings.h"
#include "core/Assert.h"
#include "win32api/AEdit.h"
#include "win32api/Controls.h"
#include "win32api/QtText.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"
#include "win32api/FormMetrics.h"
#include "win32api/LayoutParser.h"
#include "win32api/TabControl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QShowEvent>
#include <QTabBar>

namespace Win32API::VelvixForms {

ADialogForm::ADialogForm(std::string layout, const UtilityClasses::Strings::AStrings* strings, QWidget* parent,
                         std::source_location where)
    : QWidget(parent),
      layout_(std::move(layout)),
      where_(where),
      strings_(strings),
      metrics_(std::make_unique<AFormMetrics>(strings, QApplication::font()))
{
    setMouseTracking(true);
}

ADialogForm::~ADialogForm() = default;

bool ADialogForm::Create()
{
    if (root_)
        return true;
    root_ = ParseLayout(layout_, where_);
    if (!root_)
        return false;
    root_->captionIsTitle = IsTopLevelForm();
    CreateWindows(*root_);
    NormaliseStacks(*root_);
    ApplyElementTexts(*root_);
    Relayout(true, true);
    return true;
}

void ADialogForm::CreateWindows(ALayoutElement& e)
{
    auto frame = std::make_unique<ADialogFrame>();
    if (HasCaptionWindow(e)) {
        auto* caption = new QLabel(this);
        caption->setAlignment(Qt::AlignCenter);
        caption->setFont(metrics_->Font());
        frame->caption = caption;
    }
    if (e.control) {
        QWidget* control = VelvixControls::CreateControlWindow(*e.control, this);
        control->setFont(metrics_->Font());
        frame->control = control;
        frame->controlHidden = e.control->HasFlag('h');
        const std::int16_t id = e.control->id;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            connect(button, &QAbstractButton::clicked, this, [this, id] { emit Command(id); });
            if (e.control->HasFlag('D') && defaultButtonId_ == 0)
                defaultButtonId_ = id;
        }
    }
    e.windows = std::move(frame);
    if (e.HasTabControl())
        CreateTabs(e);
    for (auto& child : e.children)
        CreateWindows(*child);
}

// One tab per child not marked hidden; choosing a tab shows its child.
void ADialogForm::CreateTabs(ALayoutElement& stack)
{
    ADialogFrame* frame = FrameOf(stack);
    auto* tabs = qobject_cast<VelvixControls::ATabControl*>(frame->control.data());
    for (std::size_t i = 0; i < stack.children.size(); ++i)
        if (stack.children[i]->visible) {
            frame->tabPages.push_back(static_cast<int>(i));
            tabs->TabBar()->addTab(QString());
        }
    connect(tabs, &VelvixControls::ATabControl::currentChanged, this, [this, &stack](int tab) {
        ADialogFrame* f = FrameOf(stack);
        if (tab >= 0 && static_cast<std::size_t>(tab) < f->tabPages.size()) {
            VelvixForms::SelectStackChild(stack, f->tabPages[static_cast<std::size_t>(tab)]);
            Relayout();
        }
    });
}

void ADialogForm::ApplyElementTexts(ALayoutElement& e)
{
    for (auto& child : e.children)
        ApplyElementTexts(*child);
    ADialogFrame* frame = FrameOf(e);
    if (!frame)
        return;
    if (frame->control && e.control && (e.control->inlineText || e.control->id > 0))
        VelvixControls::SetControlText(frame->control, ToQString(ControlText(*e.control, strings_)));
    if (frame->caption)
        static_cast<QLabel*>(frame->caption.data())->setText(ToQString(CaptionText(e, strings_)));
    if (!e.parent && IsTopLevelForm() && e.HasCaption())
        setWindowTitle(ToQString(CaptionText(e, strings_)));
    if (auto* tabs = qobject_cast<VelvixControls::ATabControl*>(frame->control.data()))
        for (std::size_t t = 0; t < frame->tabPages.size(); ++t) {
            const ALayoutElement& page = *e.children[static_cast<std::size_t>(frame->tabPages[t])];
            if (page.HasCaption())
                tabs->TabBar()->setTabText(static_cast<int>(t), ToQString(CaptionText(page, strings_)));
        }
}

void ADialogForm::ApplyTexts(const UtilityClasses::Strings::AStrings* strings)
{
    strings_ = strings;
    metrics_->SetStrings(strings);
    if (!root_)
        return;
    ApplyElementTexts(*root_);
    ForEachElement(*root_, [strings](ALayoutElement& e) {
        if (ADialogFrame* frame = FrameOf(e); frame && frame->childForm)
            frame->childForm->ApplyTexts(strings);
    });
    Relayout(true, false);
}

void ADialogForm::SetBaseFont(const QFont& font)
{
    metrics_->SetFont(font);
    if (!root_)
        return;
    ForEachElement(*root_, [&](ALayoutElement& e) {
        ADialogFrame* frame = FrameOf(e);
        for (QWidget* w : {frame->caption.data(), frame->control.data()})
            if (w)
                w->setFont(font);
        if (frame->childForm)
            frame->childForm->SetBaseFont(font);
    });
    Relayout(true, false);
}

void ADialogForm::SetLook(const VelvixControls::AToolkitLook& look)
{
    SetClassicBorders(!look.visualTheme);
    if (!root_)
        return;
    ForEachElement(*root_, [&](ALayoutElement& e) {
        ADialogFrame* frame = FrameOf(e);
        if (auto* report = qobject_cast<VelvixControls::Reports::AReportWindow*>(frame->control.data()))
            report->SetLook(look);
        else if (auto* picker = qobject_cast<VelvixControls::Reports::AReportPicker*>(frame->control.data()))
            picker->SetLook(look);
        else if (auto* edit = qobject_cast<VelvixControls::AEdit*>(frame->control.data()))
            edit->SetDropDownOnRight(look.dropDownOnRight);
        if (frame->childForm)
            frame->childForm->SetLook(look);
    });
}

void ADialogForm::SetClassicBorders(bool classic)
{
    classicBorders_ = classic;
    update();
}

ALayoutElement* ADialogForm::FindElement(std::int16_t id)
{
    return root_ ? VelvixForms::FindElement(*root_, id) : nullptr;
}

QWidget* ADialogForm::Control(std::int16_t controlId)
{
    ALayoutElement* e = root_ ? FindControlElement(*root_, controlId) : nullptr;
    return e ? FrameOf(*e)->control.data() : nullptr;
}

QWidget* ADialogForm::CaptionWindow(std::int16_t elementId)
{
    ALayoutElement* e = FindElement(elementId);
    return e ? FrameOf(*e)->caption.data() : nullptr;
}

void ADialogForm::ShowElement(std::int16_t id, bool show)
{
    ALayoutElement* e = FindElement(id);
    if (!FD_VERIFY(e != nullptr) || e->visible == show)
        return;
    e->visible = show;
    Relayout(true, false);
}

bool ADialogForm::IsElementShown(std::int16_t id)
{
    ALayoutElement* e = FindElement(id);
    return e && e->visible;
}

void ADialogForm::ShowControl(std::int16_t controlId, bool show)
{
    ALayoutElement* e = root_ ? FindControlElement(*root_, controlId) : nullptr;
    if (!FD_VERIFY(e != nullptr))
        return;
    FrameOf(*e)->controlHidden = !show;
    Relayout();
}

bool ADialogForm::SelectStackChild(std::int16_t stackId, int index)
{
    ALayoutElement* stack = FindElement(stackId);
    if (!stack || !VelvixForms::SelectStackChild(*stack, index))
        return false;
    ADialogFrame* frame = FrameOf(*stack);
    if (auto* tabs = qobject_cast<VelvixControls::ATabControl*>(frame->control.data())) {
        auto tab = std::find(frame->tabPages.begin(), frame->tabPages.end(), index);
        if (tab != frame->tabPages.end()) {
            QSignalBlocker block(tabs);
            tabs->TabBar()->setCurrentIndex(static_cast<int>(tab - frame->tabPages.begin()));
        }
    }
    Relayout();
    return true;
}

bool ADialogForm::InsertElements(std::int16_t elementId, std::string_view layout, std::source_location where)
{
    ALayoutElement* parent = FindElement(elementId);
    if (!FD_VERIFY(parent != nullptr) || !FD_VERIFY(parent->type == 't' || parent->type == 'S' ||
                                                    (parent->type == 'b' && parent->children.empty())))
        return false;
    AElementList elements = ParseLayoutSequence(layout, where);
    if (elements.empty() || !FD_VERIFY(parent->type != 'b' || elements.size() == 1))
        return false;
    for (auto& element : elements) {
        element->parent = parent;
        element->isTabPage = parent->HasTabControl();
        CreateWindows(*element);
        ApplyElementTexts(*element);
        if (parent->type == 'S')
            element->visible = false;  // the stack keeps showing what it showed
        parent->children.push_back(std::move(element));
    }
    if (parent->type == 'S' && ShownStackChild(*parent) < 0)
        VelvixForms::SelectStackChild(*parent, 0);
    Relayout(true, true);
    return true;
}

bool ADialogForm::InsertForm(std::int16_t elementId, ADialogForm* child)
{
    ALayoutElement* parent = FindElement(elementId);
    if (!FD_VERIFY(parent != nullptr && child != nullptr) ||
        !FD_VERIFY(parent->type == 't' || parent->type == 'S' || (parent->type == 'b' && parent->children.empty())))
        return false;
    child->setParent(this);
    if (!child->Create())
        return false;
    // A form created on its own took the size limits of a window; here the place decides.
    child->setMinimumSize(0, 0);
    child->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    auto place = std::make_unique<ALayoutElement>();
    place->parent = parent;
    place->isTabPage = parent->HasTabControl();
    place->embeddedRoot = child->Root();
    place->alignX = place->alignY = 'e';  // a child form fills the place it is given
    place->visible = parent->type != 'S' || parent->children.empty();
    auto frame = std::make_unique<ADialogFrame>();
    frame->childForm = child;
    place->windows = std::move(frame);
    parent->children.push_back(std::move(place));
    Relayout(true, true);
    return true;
}

void ADialogForm::showEvent(QShowEvent* event)
{
    if (!root_)
        Create();
    QWidget::showEvent(event);
}

}  // namespace Win32API::VelvixForms
