// The mode of a report list control: its columns and behaviour, owned by the control's owner.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Win32API::VelvixControls::Reports {

struct AReportColumn {
    std::u16string title;
    std::uint16_t width = 100;
    bool hideable = true;   // the user may hide it from the header's menu
    bool shown = true;
};

class AReportMode {
public:
    AReportMode() = default;
    virtual ~AReportMode() = default;

    // Title of column `n`; a column that does not exist is a programming error.
    virtual std::u16string ColumnTitle(int n) const;
    virtual bool MultiSelect() const { return false; }
    virtual bool IsTree() const { return false; }
    // Whether a double click on a header divider fits the column to its contents.
    virtual bool AutoSizeColumns() const { return true; }

    int AddColumn(std::u16string title, std::uint16_t width, bool hideable = true, bool shown = true);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const AReportColumn& Column(int n) const { return columns_[static_cast<std::size_t>(n)]; }
    void SetColumnWidth(int n, int width);
    // Refused (false) for the last shown column, as the user may not hide everything.
    bool SetColumnShown(int n, bool shown);
    int ShownColumnCount() const;

    // 0 unsorted, else the column number plus one; negative for descending order.
    std::int8_t SortColumn() const { return sortColumn_; }
    void SetSortColumn(std::int8_t sortColumn);
    // The column sorted by (-1 for none) and whether the order is descending.
    int SortIndex() const { return sortColumn_ == 0 ? -1 : (sortColumn_ > 0 ? sortColumn_ : -sortColumn_) - 1; }
    bool SortDescending() const { return sortColumn_ < 0; }

    // State: the sort column (1 byte), then for each column its width (2 bytes, little-endian)
    // and its shown flag (1 byte).
    std::vector<std::uint8_t> SaveState() const;
    // Takes what the bytes hold and keeps the rest; ignores a sort column beyond the columns,
    // and never leaves every column hidden.
    void LoadState(std::span<const std::uint8_t> bytes);

private:
    std::vector<AReportColumn> columns_;
    std::int8_t sortColumn_ = 0;
};

}  // namespace Win32API::VelvixControls::Reports
