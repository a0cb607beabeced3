// The page order dialog: the user's pages with their visibility, added, renamed, deleted and
// moved, written back as page records in one undoable step.
#pragma once
#include "ui/DatabaseModel.h"
#include "ui/StandardDialog.h"
#include "win32api/ReportMode.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>


namespace UserInterface::PageOrder {

// One page as the dialog edits it; a record id of 0 is a page added here.
struct APageRow {
    std::uint32_t recordId = 0;
    std::uint32_t type = 0;
    std::u16string name;
    bool visible = true;
    bool operator==(const APageRow&) const = default;
};

// What OK checks: at least one page stays visible (338).
std::optional<int> CheckPageRows(const std::vector<APageRow>& rows);
// Writes the rows as the user's page records in one step labelled `label`: positions in row
// order, new records for added rows, deleted records (with their names) for removed ones.
void WritePageRows(Database::ADatabase& db, const std::vector<APageRow>& rows, std::u16string_view label);

// The page types a new page may have: the six fixed ones, then one per classifier.
struct APageType {
    std::uint32_t type;
    std::u16string caption;
};
std::vector<APageType> PageTypes(Database::ADatabase& db, const UtilityClasses::Strings::AStrings& strings);

class APageEditDialog final : public UtilityForms::AStandardDialog {
    Q_OBJECT
public:
    // Adding (caption 341) chooses the type among `types`; renaming (342) shows the page's
    // type, the only one of `types`, and leaves it as it is.
    APageEditDialog(const AProgramContext& context, std::u16string name, std::vector<APageType> types, bool adding,
                    QWidget* parent);
    ~APageEditDialog() override;

    std::u16string Name() const;
    void SetName(std::u16string_view name);
    // The chosen type; none before one is chosen.
    std::optional<std::uint32_t> Type() const;
    void ChooseType(int index);
    Win32API::VelvixControls::Reports::AReportPicker* TypeCombo() const { return combo_; }

protected:
    bool Validate() override;

private:
    class ATypeMode;
    std::vector<APageType> types_;
    std::unique_ptr<Win32API::VelvixControls::Reports::AReportMode> mode_;
    Win32API::VelvixControls::Reports::AReportPicker* combo_ = nullptr;
    bool adding_;
};

class APageOrderDialog final : public UtilityForms::AStandardDialog {
    Q_OBJECT
public:
    APageOrderDialog(const AProgramContext& context, Database::ADatabase& db, QWidget* parent);
    ~APageOrderDialog() override;

    const std::vector<APageRow>& Rows() const { return rows_; }
    int SelectedRow() const;
    void SelectRow(int row);
    void SetVisible(int row, bool visible);
    // The buttons' operations; adding and renaming ask through the edit dialog.
    void AddPage();
    void RenamePage();
    void DeletePage();
    void MoveSelected(int direction);
    Win32API::VelvixControls::Reports::AReportWindow* List() const { return list_; }

protected:
    bool Validate() override;
    void Apply() override;

private:
    class AOrderMode;
    void Refresh(int selected);

    Database::ADatabase& db_;
    std::vector<APageRow> rows_;
    std::unique_ptr<Win32API::VelvixControls::Reports::AReportMode> mode_;
    Win32API::VelvixControls::Reports::AReportWindow* list_ = nullptr;
};

}  // namespace UserInterface::PageOrder
