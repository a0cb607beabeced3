// A page that shows records of the open data file in a report list control, read-only: the
// frame every page type builds on. It fills its list when it is first shown and again after
// changes to the tables it shows, keeping the focused record; its settings are the list's
// columns and sort order.
#pragma once
#include "ui/DatabaseModel.h"
#include "ui/AbstractPage.h"
#pragma push_macro("slots")
#undef slots
#include "analysis/PageStream.h"
#pragma pop_macro("slots")
#include "win32api/ReportMode.h"
#include "win32api/ReportWindow.h"

#include <QObject>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace UserInterface {

struct AProgramContext;

// Columns whose titles are string ids, so that a language switch re-titles them.
class APageMode : public Win32API::VelvixControls::Reports::AReportMode {
public:
    APageMode(const AProgramContext& context, bool tree) : context_(context), tree_(tree) {}
    void AddTitledColumn(int titleId, std::uint16_t width, bool hideable = true);
    // A column whose title the page makes when asked (a caption kept in the data file).
    void AddComputedColumn(std::function<std::u16string()> title, std::uint16_t width, bool hideable = true);
    std::u16string ColumnTitle(int n) const override;
    bool IsTree() const override { return tree_; }
    bool MultiSelect() const override { return multiSelect_; }
    void SetMultiSelect(bool multiSelect) { multiSelect_ = multiSelect; }

private:
    const AProgramContext& context_;
    bool tree_;
    bool multiSelect_ = false;
    std::vector<std::function<std::u16string()>> titles_;
};

// An item standing for one record; texts are computed when the control asks.
class ARecordItem : public Win32API::VelvixControls::Reports::AReportItemImpl {
public:
    explicit ARecordItem(std::uint32_t recordId) : recordId_(recordId) {}
    std::uint32_t RecordId() const override { return recordId_; }

private:
    std::uint32_t recordId_;
};

// An item with fixed texts, made when the list is filled.
class ATextItem final : public ARecordItem {
public:
    // `rightColumns` has bit n set for each column n whose text is an amount.
    ATextItem(std::uint32_t id, std::vector<std::u16string> texts, bool bold = false, unsigned rightColumns = 0)
        : ARecordItem(id), texts_(std::move(texts)), bold_(bold), rightColumns_(rightColumns)
    {
    }
    std::u16string Text(int column) const override
    {
        return column >= 0 && static_cast<std::size_t>(column) < texts_.size() ? texts_[static_cast<std::size_t>(column)]
                                                                              : std::u16string();
    }
    unsigned CellProperty(int column) const override
    {
        using namespace Win32API::VelvixControls::Reports;
        const bool right = column >= 0 && column < 32 && (rightColumns_ >> column) & 1u;
        return (bold_ && column == 0 ? kCellBold : kCellPlain) | (right ? kCellRightAligned : kCellPlain);
    }

private:
    std::vector<std::u16string> texts_;
    bool bold_;
    unsigned rightColumns_;
};

class ARecordListPage : public QObject, public AAbstractPage, protected Database::Engine::ANotify {
    Q_OBJECT
public:
    ARecordListPage(const AProgramContext& context, Database::ADatabase& db, bool tree,
                    std::initializer_list<Database::Engine::ATableId> tables);
    ~ARecordListPage() override;

    void CreateInto(Win32API::VelvixForms::ADialogForm& root, std::int16_t elementId) override;
    Win32API::VelvixForms::ADialogForm* Form() override { return form_; }
    void Shown() override;
    bool HasSelection() const override;
    int PrintedSheetCount(QPainter& painter, const QRect& body, const APrintFonts& fonts) override;
    void PrintSheet(QPainter& painter, const QRect& body, int sheet, const APrintFonts& fonts) override;
    void ApplyLook(const Win32API::VelvixControls::AToolkitLook& look, const QFont& font) override;
    void ApplyTexts() override;
    void ReadSettings(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> WriteSettings() const override;
    void SettingsReread() override;

    Win32API::VelvixControls::Reports::AReportWindow* Report() const { return report_; }
    void SetName(std::u16string_view name) override;
    APageMode& Mode() { return mode_; }
    bool IsFilled() const { return filled_; }
    // Fills the list now (the page does it itself when shown and after changes).
    void Refill();

protected:
    const AProgramContext& context_;
    Database::ADatabase& db_;

    // The page's layout: the list is control -1; pages that show more than their list give
    // their own, and set it up in Created.
    virtual std::string Layout() const { return "{bWeHe[Rt#-1]}"; }
    virtual void Created() {}
    // Adds the items of the page's records under the control's root.
    virtual void Fill(Win32API::VelvixControls::Reports::AReportItemImpl& root) = 0;
    // The row a list without focus starts at.
    virtual int InitialFocusRow(int rowCount) const
    {
        (void)rowCount;
        return 0;
    }
    // Settings of a page that keeps more than its columns: a tag and a version of the page's
    // own, the columns' block, then what `body` writes.
    std::vector<std::uint8_t> TaggedSettings(std::uint32_t tag, std::uint16_t version,
                                             const std::function<void(APageWriter&)>& body) const;
    // Reads what TaggedSettings wrote: a stream of another tag or version, or one `body`
    // refuses, changes nothing; otherwise the columns are taken too. Whether it was read.
    bool ReadTaggedSettings(std::span<const std::uint8_t> bytes, std::uint32_t tag, std::uint16_t version,
                            const std::function<bool(AByteCursor&)>& body);
    // Whether a change of this record should refill the list.
    virtual bool Concerns(const Database::Engine::ARecordBase& record) const;

private:
    void OnChange(const Database::Engine::ASlotList& changed, const Database::Engine::ASlotList& removed,
                  const Database::Engine::ASlotList& added) override;
    void RefillLater();
    int RowsPerSheet(QPainter& painter, const QRect& body, const APrintFonts& fonts) const;

    APageMode mode_;
    std::vector<Database::Engine::ATableId> tables_;
    Win32API::VelvixForms::ADialogForm* form_ = nullptr;
    Win32API::VelvixControls::Reports::AReportWindow* report_ = nullptr;
    bool filled_ = false;
    bool stale_ = true;
    bool refillQueued_ = false;
};

}  // namespace UserInterface
