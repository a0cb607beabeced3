// The currency dialog: name, code and decimals of a new currency or of one being changed.
// The checks, their messages and the step are the rates model's; the dialog shows the
// message and puts the focus on the field it names.
#pragma once
#include "ui/DatabaseModel.h"

#include "ui/StandardDialog.h"

namespace UserInterface::Currencies {

class ACurrencyDialog final : public UtilityForms::AStandardDialog {
    Q_OBJECT
public:
    // `currency` null: adding.
    ACurrencyDialog(const AProgramContext& context, Database::ADatabase& db,
                    Database::AReference<Database::ACurrency> currency, QWidget* parent);

    // The currency added or changed; null until OK.
    Database::AReference<Database::ACurrency> Result() const { return result_; }

protected:
    bool Validate() override;

private:
    Database::ADatabase& db_;
    Database::AReference<Database::ACurrency> currency_, result_;
};

// Runs the dialog; whether a step was committed.
bool RunCurrencyDialog(const AProgramContext& context, Database::ADatabase& db,
                       Database::AReference<Database::ACurrency> currency, QWidget* parent);

}  // namespace UserInterface::Currencies
