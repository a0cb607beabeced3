// A categories page: the category trees of one classifier (one tree, or the income, expense
// and transfer trees), with the commands add, change, move and delete.
#pragma once
#include "database/CategoryCommands.h"
#include "ui/RecordListPage.h"

#include <string>

class QWidget;

namespace UserInterface::Categories {

namespace PageCommand {
constexpr int kMove = Database::CategoryMessage::kMoveTitle;  // its text is formatted with the classifier's name
}

class ACategoriesPage final : public ARecordListPage {
public:
    ACategoriesPage(const AProgramContext& context, Database::ADatabase& db, std::uint32_t classifierId);

    Database::AReference<Database::AClassifier> Classifier() const;
    // The category of the focused row; none when the list is empty.
    Database::AReference<Database::ACategory> Focused() const;

    void FillActionsMenu(QMenu& menu) override;
    bool IsCommandEnabled(int command) const override;
    void RunCommand(int command) override;

protected:
    void Created() override;
    void Fill(Win32API::VelvixControls::Reports::AReportItemImpl& root) override;

private:
    bool FocusedIsRoot() const;
    void DeleteFocused();
    void FocusNewest();

    std::uint32_t classifierId_;
};

// Asks `text` under `title` with Yes and No, No the default; whether Yes was pressed.
bool AskToDelete(const AProgramContext& context, QWidget* parent, std::u16string text, std::u16string title);

}  // namespace UserInterface::Categories
