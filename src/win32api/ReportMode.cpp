#include "win32api/ReportMode.h"

#include "core/Assert.h"

#include <algorithm>

namespace Win32API::VelvixControls::Reports {

std::u16string AReportMode::ColumnTitle(int n) const
{
    if (!FD_VERIFY(n >= 0 && n < ColumnCount()))
        return {};
    return columns_[static_cast<std::size_t>(n)].title;
}

int AReportMode::AddColumn(std::u16string title, std::uint16_t width, bool hideable, bool shown)
{
    columns_.push_back({std::move(title), width, hideable, shown});
    return ColumnCount() - 1;
}

void AReportMode::SetColumnWidth(int n, int width)
{
    if (FD_VERIFY(n >= 0 && n < ColumnCount()))
        columns_[static_cast<std::size_t>(n)].width = static_cast<std::uint16_t>(std::clamp(width, 0, 0xFFFF));
}

int AReportMode::ShownColumnCount() const
{
    return static_cast<int>(std::count_if(columns_.begin(), columns_.end(), [](const auto& c) { return c.shown; }));
}

bool AReportMode::SetColumnShown(int n, bool shown)
{
    if (!FD_VERIFY(n >= 0 && n < ColumnCount()))
        return false;
    AReportColumn& column = columns_[static_cast<std::size_t>(n)];
    if (!shown && column.shown && ShownColumnCount() == 1)
        return false;
    column.shown = shown;
    return true;
}

void AReportMode::SetSortColumn(std::int8_t sortColumn)
{
    int index = sortColumn < 0 ? -sortColumn : sortColumn;
    sortColumn_ = index <= ColumnCount() ? sortColumn : 0;
}

std::vector<std::uint8_t> AReportMode::SaveState() const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(1 + 3 * columns_.size());
    bytes.push_back(static_cast<std::uint8_t>(sortColumn_));
    for (const AReportColumn& c : columns_) {
        bytes.push_back(static_cast<std::uint8_t>(c.width & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c.width >> 8));
        bytes.push_back(c.shown ? 1 : 0);
    }
    return bytes;
}

void AReportMode::LoadState(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return;
    std::int8_t sort = static_cast<std::int8_t>(bytes[0]);
    int sortIndex = sort < 0 ? -static_cast<int>(sort) : sort;
    if (sortIndex <= ColumnCount())
        sortColumn_ = sort;
    std::size_t offset = 1;
    for (AReportColumn& c : columns_) {
        if (bytes.size() - offset < 3)
            break;
        c.width = static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
        c.shown = bytes[offset + 2] != 0;
        offset += 3;
    }
    if (!columns_.empty() && ShownColumnCount() == 0)
        columns_.front().shown = true;
}

}  // namespace Win32API::VelvixControls::Reports
