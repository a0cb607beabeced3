#include "ui/exchange/StatementChoosers.h"

#include "core/FormatText.h"
#include "database/Lookups.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/filters/Choosers.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportPicker.h"

#include <QLabel>

namespace UserInterface::Exchange {

using namespace Database;
using Win32API::VelvixControls::Reports::AReportPicker;

struct AClassifierChoosers::ARow {
    AReference<AClassifier> classifier;
    std::unique_ptr<Filters::ACategoryChooser> chooser;
};

AClassifierChoosers::AClassifierChoosers(Win32API::VelvixForms::ADialogForm& form, std::int16_t table, int firstId,
                                         const AProgramContext& context, ADatabase& db, std::u16string_view caption)
    : db_(db)
{
    int id = firstId;
    for (auto* classifier : db.Classifiers().Live()) {
        form.InsertElements(table, "{bt4xr[s#" + std::to_string(id) + "]}{bt4l4We[rt#" + std::to_string(id - 1) + "]}");
        const QString name = ToQString(
            UtilityClasses::Strings::FormatText(context.Strings().Locale(), caption, {db.Text(classifier->Record().singular)}));
        form.ControlAs<QLabel>(static_cast<std::int16_t>(id))->setText(name);
        auto* picker = form.ControlAs<AReportPicker>(static_cast<std::int16_t>(id - 1));
        // Named as its static is, also before the form ordered its windows.
        picker->setAccessibleName(name);
        ARow row{Engine::ATableImpl<AClassifier>::RefTo(classifier), nullptr};
        row.chooser = std::make_unique<Filters::ACategoryChooser>(*picker, context, db, row.classifier);
        connect(row.chooser.get(), &Filters::AChooser::Changed, this,
                [this, classifier = row.classifier, chooser = row.chooser.get()] {
                    if (!showing_)
                        emit Changed(classifier, chooser->Category());
                });
        rows_.push_back(std::move(row));
        id -= 2;
    }
}

AClassifierChoosers::~AClassifierChoosers() = default;

std::vector<AReference<ACategory>> AClassifierChoosers::Chosen() const
{
    std::vector<AReference<ACategory>> chosen;
    for (const ARow& row : rows_)
        if (!row.chooser->Category().IsNull())
            chosen.push_back(row.chooser->Category());
    return chosen;
}

void AClassifierChoosers::Show(const std::vector<AReference<ACategory>>& categories)
{
    showing_ = true;
    for (ARow& row : rows_) {
        row.chooser->Fill();
        row.chooser->ChooseNone();
        for (AReference<ACategory> category : categories)
            if (const auto* classifier = ClassifierOf(db_, category);
                classifier && Engine::ATableImpl<AClassifier>::RefTo(classifier) == row.classifier)
                row.chooser->Choose(category);
    }
    showing_ = false;
}

void AClassifierChoosers::SetEnabled(bool enabled)
{
    for (ARow& row : rows_)
        row.chooser->Picker().setEnabled(enabled);
}

}  // namespace UserInterface::Exchange
