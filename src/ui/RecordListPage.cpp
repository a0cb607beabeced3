#include "ui/RecordListPage.h"

#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "win32api/DynaForm.h"
#include "win32api/ToolkitLook.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace UserInterface {

using namespace Win32API::VelvixControls::Reports;
using Database::Engine::ARecordBase;
using Database::Engine::ASlotList;

namespace {
constexpr std::int16_t kListId = -1;
}  // namespace

void APageMode::AddTitledColumn(int titleId, std::uint16_t width, bool hideable)
{
    AddComputedColumn([this, titleId] { return std::u16string(context_.Strings().Text(titleId)); }, width, hideable);
}

void APageMode::AddComputedColumn(std::function<std::u16string()> title, std::uint16_t width, bool hideable)
{
    titles_.push_back(std::move(title));
    AddColumn(std::u16string(), width, hideable);
}

std::u16string APageMode::ColumnTitle(int n) const
{
    if (n < 0 || static_cast<std::size_t>(n) >= titles_.size())
        return AReportMode::ColumnTitle(n);
    return titles_[static_cast<std::size_t>(n)]();
}

ARecordListPage::ARecordListPage(const AProgramContext& context, Database::ADatabase& db, bool tree,
                                 std::initializer_list<Database::Engine::ATableId> tables)
    : ANotify(db), context_(context), db_(db), mode_(context, tree), tables_(tables)
{
}

ARecordListPage::~ARecordListPage() = default;

void ARecordListPage::CreateInto(Win32API::VelvixForms::ADialogForm& root, std::int16_t elementId)
{
    form_ = new Win32API::VelvixForms::ADialogForm(Layout(), context_.strings.get());
    root.InsertForm(elementId, form_);
    report_ = form_->ControlAs<AReportWindow>(kListId);
    report_->SetMode(&mode_);
    Created();
}

void ARecordListPage::Shown()
{
    if (stale_)
        Refill();
}

void ARecordListPage::SetName(std::u16string_view name)
{
    if (report_)
        report_->setAccessibleName(ToQString(name));
}

void ARecordListPage::Refill()
{
    if (!report_)
        return;
    refillQueued_ = false;
    stale_ = false;
    filled_ = true;
    AReportListModel& model = report_->Model();
    const AReportItemImpl* focused = model.FocusedItem();
    const std::uint32_t focusedId = focused ? focused->RecordId() : 0;
    const bool hadFocus = focused != nullptr;
    model.DeleteAllItems();
    Fill(report_->Root());
    report_->RebuildRows();
    // The focus stays on its record; a list that had none starts at its first row.
    int row = -1;
    for (int r = 0; r < model.RowCount() && hadFocus; ++r)
        if (model.Row(r)->RecordId() == focusedId) {
            row = r;
            break;
        }
    if (row < 0 && !hadFocus && model.RowCount() > 0)
        row = InitialFocusRow(model.RowCount());
    if (row >= 0) {
        model.FocusRow(row);
        report_->EnsureRowVisible(model.Focus());
        report_->Refresh();
    }
}

bool ARecordListPage::HasSelection() const
{
    return report_ && report_->Model().FocusedItem() != nullptr;
}

bool ARecordListPage::Concerns(const ARecordBase& record) const
{
    const auto table = record.table ? record.table->Id() : 0;
    return std::find(tables_.begin(), tables_.end(), table) != tables_.end();
}

void ARecordListPage::OnChange(const ASlotList& changed, const ASlotList& removed, const ASlotList& added)
{
    bool concerned = false;
    for (const ASlotList* list : {&changed, &removed, &added})
        for (const ARecordBase* record : *list)
            if (!concerned && record && Concerns(*record))
                concerned = true;
    if (!concerned)
        return;
    stale_ = true;
    if (form_ && form_->isVisible())
        RefillLater();
}

// Several notifications of one user action make one refill, after the action is done.
void ARecordListPage::RefillLater()
{
    if (refillQueued_)
        return;
    refillQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        if (refillQueued_ && stale_)
            Refill();
        refillQueued_ = false;
    });
}

void ARecordListPage::ApplyLook(const Win32API::VelvixControls::AToolkitLook& look, const QFont& font)
{
    if (!form_)
        return;
    form_->SetLook(look);
    report_->setFont(font);
    stale_ = true;  // what a page shows may follow the settings
    if (form_->isVisible())
        RefillLater();
}

void ARecordListPage::ApplyTexts()
{
    if (!form_)
        return;
    form_->ApplyTexts(context_.strings.get());
    report_->Refresh();
    stale_ = true;
    if (form_->isVisible())
        RefillLater();
}

void ARecordListPage::ReadSettings(std::span<const std::uint8_t> bytes)
{
    mode_.LoadState(bytes);
    if (report_)
        report_->RebuildRows();
}

std::vector<std::uint8_t> ARecordListPage::WriteSettings() const
{
    return mode_.SaveState();
}

namespace {
// A columns' block longer than this is damage.
constexpr std::uint32_t kMaxModeBytes = 4096;
}  // namespace

std::vector<std::uint8_t> ARecordListPage::TaggedSettings(std::uint32_t tag, std::uint16_t version,
                                                          const std::function<void(APageWriter&)>& body) const
{
    std::vector<std::uint8_t> bytes;
    APageWriter out(bytes);
    out.U32(tag);
    out.U16(version);
    const std::vector<std::uint8_t> mode = ARecordListPage::WriteSettings();
    out.U32(static_cast<std::uint32_t>(mode.size()));
    bytes.insert(bytes.end(), mode.begin(), mode.end());
    body(out);
    return bytes;
}

bool ARecordListPage::ReadTaggedSettings(std::span<const std::uint8_t> bytes, std::uint32_t tag,
                                         std::uint16_t version, const std::function<bool(AByteCursor&)>& body)
{
    AByteCursor in(bytes.data(), bytes.size());
    std::uint32_t readTag = 0, modeSize = 0;
    std::uint16_t readVersion = 0;
    if (!in.ReadInt(readTag) || !in.ReadInt(readVersion) || readTag != tag || readVersion != version ||
        !in.ReadInt(modeSize) || modeSize > kMaxModeBytes || modeSize > in.Remaining())
        return false;
    const std::span<const std::uint8_t> mode(in.Here(), modeSize);
    if (!in.Skip(modeSize) || !body(in))
        return false;
    ARecordListPage::ReadSettings(mode);
    return true;
}

void ARecordListPage::SettingsReread()
{
    if (report_)
        report_->RebuildRows();
}

int ARecordListPage::RowsPerSheet(QPainter& painter, const QRect& body, const APrintFonts& fonts) const
{
    const int rowHeight = QFontMetrics(fonts.normal, painter.device()).height() * 5 / 4;
    const int headerHeight = QFontMetrics(fonts.bold, painter.device()).height() * 3 / 2;
    return std::max(1, (body.height() - headerHeight) / std::max(1, rowHeight));
}

int ARecordListPage::PrintedSheetCount(QPainter& painter, const QRect& body, const APrintFonts& fonts)
{
    if (stale_)
        Refill();
    const int rows = report_ ? report_->Model().RowCount() : 0;
    const int perSheet = RowsPerSheet(painter, body, fonts);
    return std::max(1, (rows + perSheet - 1) / perSheet);
}

// The list as a table: the shown columns in their proportions across the body, the titles
// in bold, one line per row with the tree's indentation.
void ARecordListPage::PrintSheet(QPainter& painter, const QRect& body, int sheet, const APrintFonts& fonts)
{
    if (!report_)
        return;
    std::vector<int> columns;
    int totalWidth = 0;
    for (int c = 0; c < mode_.ColumnCount(); ++c)
        if (mode_.Column(c).shown) {
            columns.push_back(c);
            totalWidth += std::max<int>(1, mode_.Column(c).width);
        }
    if (columns.empty())
        return;
    std::vector<QRect> cells;
    int x = body.left();
    for (int c : columns) {
        const int width = static_cast<int>(std::int64_t{body.width()} * std::max<int>(1, mode_.Column(c).width) / totalWidth);
        cells.emplace_back(x, 0, width, 0);
        x += width;
    }
    const int rowHeight = QFontMetrics(fonts.normal, painter.device()).height() * 5 / 4;
    const int headerHeight = QFontMetrics(fonts.bold, painter.device()).height() * 3 / 2;
    const int padding = rowHeight / 5;
    painter.save();
    painter.setFont(fonts.bold);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        QRect cell(cells[i].left() + padding, body.top(), cells[i].width() - 2 * padding, headerHeight);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter,
                         ToQString(mode_.ColumnTitle(columns[i])).remove(u'&').remove(u':'));
    }
    painter.drawLine(body.left(), body.top() + headerHeight - 1, body.right(), body.top() + headerHeight - 1);
    painter.setFont(fonts.normal);
    const AReportListModel& model = report_->Model();
    const int perSheet = RowsPerSheet(painter, body, fonts);
    const int first = sheet * perSheet;
    for (int r = first; r < std::min(model.RowCount(), first + perSheet); ++r) {
        const AReportItemImpl* item = model.Row(r);
        const int top = body.top() + headerHeight + (r - first) * rowHeight;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int indent = i == 0 ? item->Depth() * rowHeight : 0;
            QRect cell(cells[i].left() + padding + indent, top, cells[i].width() - 2 * padding - indent, rowHeight);
            const bool right = item->CellProperty(columns[i]) & kCellRightAligned;
            const QString text = painter.fontMetrics().elidedText(ToQString(item->Text(columns[i])), Qt::ElideRight,
                                                                  std::max(0, cell.width()));
            painter.drawText(cell, (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, text);
        }
    }
    painter.restore();
}

}  // namespace UserInterface
