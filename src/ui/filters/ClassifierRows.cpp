#include "ui/filters/ClassifierRows.h"

#include "ui/UiText.h"
#include "ui/filters/Choosers.h"
#include "win32api/DynaForm.h"
#include "win32api/FormElements.h"
#include "win32api/ReportPicker.h"

#include <QCheckBox>

#include <algorithm>
#include <string>

namespace UserInterface::Filters {

using namespace Database;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {
constexpr int kIdsPerClassifier = 4;  // the tick, the chooser's picker, and the boxes that hold them
}  // namespace

AClassifierRows::AClassifierRows(Win32API::VelvixForms::ADialogForm& form, std::int16_t table, int idBase,
                                 const AProgramContext& context, ADatabase& db)
    : form_(form), table_(table), idBase_(idBase), context_(context), db_(db)
{
    AddRows();
}

AClassifierRows::~AClassifierRows() = default;

std::int16_t AClassifierRows::Id(std::size_t n, int part) const
{
    return static_cast<std::int16_t>(idBase_ - static_cast<int>(n) * kIdsPerClassifier - part);
}

void AClassifierRows::AddRows()
{
    std::size_t n = 0;
    for (auto* classifier : db_.Classifiers().Live()) {
        const auto id = [&](int part) { return std::to_string(Id(n, part)); };
        form_.InsertElements(table_, "{b#" + id(2) + "xlt2[bCt#" + id(0) + "]}{b#" + id(3) + "l4t2Wexe{bWe[rt#" + id(1) +
                                         "]}}");
        ARow row;
        const QString name = ToQString(db_.Text(classifier->Record().singular));
        row.tick = form_.ControlAs<QCheckBox>(Id(n, 0));
        row.tick->setText(QString(name).replace(u'&', QStringLiteral("&&")));
        auto* picker = form_.ControlAs<AReportPicker>(Id(n, 1));
        // The tick is the row's caption; the picker is named by it too.
        picker->setAccessibleName(name);
        row.chooser = std::make_unique<ACategoryChooser>(*picker, context_, db_,
                                                         Engine::ATableImpl<AClassifier>::RefTo(classifier));
        const auto changed = [this] {
            if (!showing_)
                emit Changed();
        };
        connect(row.tick, &QCheckBox::toggled, this, changed);
        connect(row.chooser.get(), &AChooser::Changed, this, changed);
        rows_.push_back(std::move(row));
        ++n;
    }
}

AClassifierSelections AClassifierRows::Chosen() const
{
    AClassifierSelections chosen;
    for (const ARow& row : rows_)
        chosen.push_back({row.chooser->Classifier(), row.tick->isChecked(), row.chooser->Category()});
    return chosen;
}

void AClassifierRows::Show(const AClassifierSelections& selections)
{
    showing_ = true;
    for (ARow& row : rows_) {
        const auto chosen = std::find_if(selections.begin(), selections.end(), [&](const AClassifierSelection& s) {
            return s.classifier == row.chooser->Classifier();
        });
        const bool found = chosen != selections.end();
        row.tick->setChecked(found && chosen->ticked);
        if (found && !chosen->node.IsNull())
            row.chooser->Choose(chosen->node);
        else
            row.chooser->ChooseNone();
    }
    showing_ = false;
}

void AClassifierRows::Refill(const AClassifierSelections& selections)
{
    showing_ = true;
    const auto live = db_.Classifiers().Live();
    const bool same = std::equal(live.begin(), live.end(), rows_.begin(), rows_.end(), [](auto* slot, const ARow& row) {
        return Engine::ATableImpl<AClassifier>::RefTo(slot) == row.chooser->Classifier();
    });
    if (same) {
        for (ARow& row : rows_)
            row.chooser->Fill();
        showing_ = false;
        return;
    }
    for (std::size_t n = 0; n < rows_.size(); ++n) {
        rows_[n].chooser.reset();
        Win32API::VelvixForms::RemoveElement(form_, Id(n, 2));
        Win32API::VelvixForms::RemoveElement(form_, Id(n, 3));
    }
    rows_.clear();
    AddRows();
    showing_ = false;
    Show(selections);
}

}  // namespace UserInterface::Filters
