// The classifier selections of a filter pane: for each classifier of the file, a tick
// captioned with its name and a chooser of one of its nodes, in rows of a two-column table
// of the pane's form. The rows follow the classifier table when refilled.
#pragma once
#include "ui/DatabaseModel.h"
#pragma push_macro("slots")
#undef slots
#include "analysis/Filters.h"
#pragma pop_macro("slots")

#include <QObject>

#include <memory>
#include <vector>

class QCheckBox;

namespace Win32API::VelvixForms {
class ADialogForm;
}
namespace UserInterface {
struct AProgramContext;
}

namespace UserInterface::Filters {

class ACategoryChooser;

class AClassifierRows final : public QObject {
    Q_OBJECT
public:
    // `table` is the id of the "{t2...}" element the rows go into; `idBase` the first of the
    // ids the rows take (four each, downwards).
    AClassifierRows(Win32API::VelvixForms::ADialogForm& form, std::int16_t table, int idBase,
                    const AProgramContext& context, Database::ADatabase& db);
    ~AClassifierRows() override;

    AClassifierSelections Chosen() const;
    // Shows the selections without reporting a change.
    void Show(const AClassifierSelections& selections);
    // Rereads the trees, keeping the choices; a classifier that came or went brings or takes
    // its row, and the others show `selections` again.
    void Refill(const AClassifierSelections& selections);

signals:
    // The user ticked a row or chose a node.
    void Changed();

private:
    struct ARow {
        QCheckBox* tick = nullptr;
        std::unique_ptr<ACategoryChooser> chooser;
    };
    std::int16_t Id(std::size_t n, int part) const;
    void AddRows();

    Win32API::VelvixForms::ADialogForm& form_;
    std::int16_t table_;
    int idBase_;
    const AProgramContext& context_;
    Database::ADatabase& db_;
    std::vector<ARow> rows_;
    bool showing_ = false;
};

}  // namespace UserInterface::Filters
