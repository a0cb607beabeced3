// The accounts page's chooser of the account plan it shows, while the file uses several plans.
#pragma once
#include "ui/DatabaseModel.h"
#include "ui/accounts/RecordPicker.h"

namespace UserInterface::Accounts {

class AAccountPlanCombo final : public QObject {
    Q_OBJECT
public:
    AAccountPlanCombo(Win32API::VelvixControls::Reports::AReportPicker& picker, Database::ADatabase& db);

    // Rereads the plans; the chosen one stays, or the first plan is chosen when it went.
    void Fill();
    Database::AReference<Database::AAccountFolder> Plan() const;
    void Choose(Database::AReference<Database::AAccountFolder> plan);

signals:
    void Changed();

private:
    Database::ADatabase& db_;
    ARecordPicker picker_;
};

}  // namespace UserInterface::Accounts
