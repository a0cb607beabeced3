// The account and category choosers of a transaction, as one form: in its transaction mode
// two account choosers (index 0 the account that receives money, "На счёт:"; index 1 the
// account that gives it, "Со счёта:") and one category chooser per classifier, in the order
// of the classifier table, captioned with the classifier's singular name.
//
// How to use it: make it, place it into an element of the owner's form
// (`Form().InsertForm(-8, filters)`), read the choosers (see Choosers.h). A side the
// transaction's type does not use is hidden with ShowAccount(index, false).
#pragma once
#include "ui/filters/Choosers.h"
#include "win32api/DynaForm.h"

#include <memory>
#include <vector>

namespace UserInterface::Filters {

class AAccountClassifierFilters final : public Win32API::VelvixForms::ADialogForm {
    Q_OBJECT
public:
    static constexpr int kReceiving = 0, kGiving = 1;

    AAccountClassifierFilters(const AProgramContext& context, Database::ADatabase& db, QWidget* parent = nullptr);
    ~AAccountClassifierFilters() override;

    AAccountChooser& Account(int index) const { return *accounts_[index == kGiving ? 1 : 0]; }
    void ShowAccount(int index, bool show);
    bool AccountShown(int index);
    const std::vector<std::unique_ptr<ACategoryChooser>>& Categories() const { return categories_; }
    // The categories chosen, one per classifier at most; none for a chooser at "none" or at
    // the different-values mark.
    std::vector<Database::AReference<Database::ACategory>> ChosenCategories() const;
    // Rereads every tree after the records changed, keeping the choices.
    void Refill();

signals:
    // Some chooser's choice changed.
    void Changed();

private:
    std::unique_ptr<AAccountChooser> accounts_[2];
    std::vector<std::unique_ptr<ACategoryChooser>> categories_;
};

}  // namespace UserInterface::Filters
