// The rate dialog: on a date, an amount of one currency is worth an amount of another. The
// checks, the refusal of a taken date and the storing in the pair's orientation are the
// rates model's; the dialog shows the message and focuses the field it names.
#pragma once
#include "ui/DatabaseModel.h"

#include "ui/StandardDialog.h"

#include <memory>

namespace UserInterface {
class APageMode;
}

namespace UserInterface::Currencies {

class ARateDialog final : public UtilityForms::AStandardDialog {
    Q_OBJECT
public:
    // `rate` null: adding, with the pair `pair` (when given) preset.
    ARateDialog(const AProgramContext& context, Database::ADatabase& db, Database::AReference<Database::ARateValue> rate,
                Database::AReference<Database::ARateHeader> pair, QWidget* parent);
    ~ARateDialog() override;

protected:
    bool Validate() override;

private:
    Database::AReference<Database::ACurrency> Chosen(std::int16_t pickerId) const;
    void Choose(std::int16_t pickerId, Database::AReference<Database::ACurrency> currency);
    // The codes beside the two amounts follow the chosen currencies.
    void ShowCodes();

    Database::ADatabase& db_;
    Database::AReference<Database::ARateValue> rate_;
    std::unique_ptr<APageMode> mode_;
};

// Runs the dialog; whether a step was committed.
bool RunRateDialog(const AProgramContext& context, Database::ADatabase& db, Database::AReference<Database::ARateValue> rate,
                   Database::AReference<Database::ARateHeader> pair, QWidget* parent);

}  // namespace UserInterface::Currencies
