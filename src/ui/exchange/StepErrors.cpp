#include "ui/exchange/StepErrors.h"

#include "exchange/import/ImportTexts.h"
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/UiText.h"
#include "ui/exchange/WizardTexts.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QLabel>

namespace UserInterface::Exchange {

using namespace Win32API::VelvixControls::Reports;

namespace {

constexpr std::int16_t kList = -1, kCounts = -2;
constexpr int kTitle = ExchangeText::kErrorsTitle, kSubtitle = ExchangeText::kErrorsSubtitle,
              kError = ExportImport::ImportText::kErrorLabel, kWarning = ExportImport::ImportText::kWarningLabel;
using ExchangeText::kCountsText, ExchangeText::kMessageText;
constexpr const char* kLayout = "{t1m8xe{bWeHeW300H120[Rt#-1]}{bt4xl[s#-2]}}";

// One message: a red or yellow mark, then its first line (the whole text on a double click).
class AMessageItem final : public AReportItemImpl {
public:
    AMessageItem(std::uint32_t index, const ExportImport::AModuleMessage& message, std::u16string kind)
        : index_(index), message_(message), kind_(std::move(kind))
    {
    }
    std::uint32_t RecordId() const override { return index_; }
    int IconWidth() const override { return 18; }
    void DrawIcon(AReportCanvas& canvas, const ARect& rect) const override
    {
        const int side = std::min(rect.bottom - rect.top, 14);
        const ARect mark{rect.left + 2, rect.top + (rect.bottom - rect.top - side) / 2, rect.left + 2 + side,
                         rect.top + (rect.bottom - rect.top + side) / 2};
        canvas.FillRect(mark, message_.error ? 0x000000D0 : 0x0000C0F0);  // COLORREF: red, amber
        canvas.DrawText(mark, message_.error ? u"×" : u"!", message_.error ? 0x00FFFFFF : 0, kTextCentre);
    }
    std::u16string Text(int column) const override
    {
        if (column == 0)
            return kind_;
        const std::u16string& text = message_.text;
        std::u16string line = text.substr(0, text.find_first_of(u"\r\n"));
        return line.size() < text.size() ? line + u" ..." : line;
    }

private:
    std::uint32_t index_;
    const ExportImport::AModuleMessage& message_;
    std::u16string kind_;
};

}  // namespace

AWizardStepErrors::AWizardStepErrors(const AProgramContext& context, const ExportImport::AModuleSession& session)
    : AWizardStep(kTitle, kSubtitle, kLayout),
      context_(context),
      session_(session),
      mode_(std::make_unique<APageMode>(context, false))
{
    mode_->AddTitledColumn(kError, 110, false);
    mode_->AddTitledColumn(kMessageText, 400, false);
}

AWizardStepErrors::~AWizardStepErrors() = default;

void AWizardStepErrors::Build(AWizard& wizard)
{
    auto* list = Form()->ControlAs<AReportWindow>(kList);
    list->SetMode(mode_.get());
    list->setAccessibleName(TableText(context_.Strings(), kTitle));
    QObject::connect(list, &AReportWindow::Notify, Form(), [this, list, &wizard](int code, bool*) {
        const AReportItemImpl* item = list->Model().FocusedItem();
        if (code != kNotifyDoubleClick || !item || item->RecordId() >= session_.Messages().size())
            return;
        const ExportImport::AModuleMessage& message = session_.Messages()[item->RecordId()];
        ShowWizardText(context_, &wizard, message.text,
                       message.error ? Win32API::VelvixForms::AMessageIcon::Error
                                     : Win32API::VelvixForms::AMessageIcon::Warning);
    });
}

bool AWizardStepErrors::IsSkipped(const AWizard&) const
{
    return session_.Clean();
}

void AWizardStepErrors::OnEnter(AWizard&)
{
    auto* list = Form()->ControlAs<AReportWindow>(kList);
    list->Model().DeleteAllItems();
    const std::u16string error(context_.Strings().Text(kError)), warning(context_.Strings().Text(kWarning));
    for (std::size_t i = 0; i < session_.Messages().size(); ++i) {
        const ExportImport::AModuleMessage& message = session_.Messages()[i];
        list->Root().AddChild(
            std::make_unique<AMessageItem>(static_cast<std::uint32_t>(i), message, message.error ? error : warning));
    }
    list->RebuildRows();
    Form()->ControlAs<QLabel>(kCounts)->setText(ToQString(context_.Strings().Format(
        kCountsText, {static_cast<std::uint32_t>(session_.ErrorCount()), static_cast<std::uint32_t>(session_.WarningCount())})));
    Form()->Relayout(true, false);
}

}  // namespace UserInterface::Exchange
