// A category chooser for each classifier of the file, captioned "<classifier> ...:", in rows
// of a two-column table of a form: the categories of a statement line, or of a rule.
#pragma once
#include "ui/DatabaseModel.h"

#include <QObject>

#include <memory>
#include <string_view>
#include <vector>

namespace Win32API::VelvixForms {
class ADialogForm;
}
namespace UserInterface {
struct AProgramContext;
}
namespace UserInterface::Filters {
class ACategoryChooser;
}

namespace UserInterface::Exchange {

class AClassifierChoosers final : public QObject {
    Q_OBJECT
public:
    // The rows go into the "{t2...}" element `table`, their ids from `firstId` down, two
    // each; `caption` is a format with "#s" for the classifier's name.
    AClassifierChoosers(Win32API::VelvixForms::ADialogForm& form, std::int16_t table, int firstId,
                        const AProgramContext& context, Database::ADatabase& db, std::u16string_view caption);
    ~AClassifierChoosers() override;

    // The categories chosen, none items left out.
    std::vector<Database::AReference<Database::ACategory>> Chosen() const;
    // Each chooser shows the category of its classifier among `categories`, or none; no
    // Changed is reported.
    void Show(const std::vector<Database::AReference<Database::ACategory>>& categories);
    void SetEnabled(bool enabled);

signals:
    // The user chose `category` (null for none) in the chooser of `classifier`.
    void Changed(Database::AReference<Database::AClassifier> classifier, Database::AReference<Database::ACategory> category);

private:
    struct ARow;
    Database::ADatabase& db_;
    std::vector<ARow> rows_;
    bool showing_ = false;
};

}  // namespace UserInterface::Exchange
