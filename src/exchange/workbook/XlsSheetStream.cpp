#include "exchange/workbook/XlsSheetStream.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace ExportImport::FileTypeExcel {

namespace {

constexpr std::size_t kPiece = 64 * 1024;
constexpr std::string_view kNameEnds = " \t\r\n/>";

// Spreadsheet programs may write the main namespace with a prefix ("x:sheetData").
std::string_view LocalName(std::string_view name)
{
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

AWorksheetStream::AItem AWorksheetStream::ScanItem(std::size_t& end, std::string_view& name) const
{
    const std::string_view text(text_);
    const std::size_t at = scan_;
    if (text[at] != '<') {
        const std::size_t next = text.find('<', at);
        end = next == std::string_view::npos ? text.size() : next;
        return AItem::Text;
    }
    const auto closedBy = [&](std::size_t from, std::string_view terminator) {
        const std::size_t found = text.find(terminator, from);
        if (found == std::string_view::npos)
            return false;
        end = found + terminator.size();
        return true;
    };
    if (at + 1 >= text.size())
        return AItem::Incomplete;
    switch (text[at + 1]) {
    case '?':
        return closedBy(at + 2, "?>") ? AItem::Other : AItem::Incomplete;
    case '!':
        if (text.size() - at < 9 && !ended_)
            return AItem::Incomplete;
        if (text.compare(at, 4, "<!--") == 0)
            return closedBy(at + 4, "-->") ? AItem::Other : AItem::Incomplete;
        if (text.compare(at, 9, "<![CDATA[") == 0)
            return closedBy(at + 9, "]]>") ? AItem::Text : AItem::Incomplete;
        return AItem::Unusual;  // a document type or a stray "<!": the parser tells
    case '/':
        if (!closedBy(at + 2, ">"))
            return AItem::Incomplete;
        name = text.substr(at + 2, text.find_first_of(kNameEnds, at + 2) - (at + 2));
        return AItem::EndTag;
    default:
        break;
    }
    const std::size_t nameEnd = text.find_first_of(kNameEnds, at + 1);
    if (nameEnd == std::string_view::npos)
        return AItem::Incomplete;
    name = text.substr(at + 1, nameEnd - (at + 1));
    // Attribute values may hold ">", so the tag ends at the first ">" outside quotes.
    for (std::size_t from = nameEnd;;) {
        const std::size_t stop = text.find_first_of("'\">", from);
        if (stop == std::string_view::npos)
            return AItem::Incomplete;
        if (text[stop] == '>') {
            end = stop + 1;
            return text[stop - 1] == '/' ? AItem::EmptyTag : AItem::StartTag;
        }
        const std::size_t closing = text.find(text[stop], stop + 1);
        if (closing == std::string_view::npos)
            return AItem::Incomplete;
        from = closing + 1;
    }
}

bool AWorksheetStream::ReadMore()
{
    if (ended_)
        return false;
    const std::size_t before = text_.size();
    error_ = zip_.Next(text_, std::max(kPiece, before - begin_));
    if (error_ != AZipReadError::None || text_.size() == before) {
        ended_ = true;
        return false;
    }
    // The parser takes a NUL byte for the end of its input, which would end a run early
    // without complaint.
    if (std::memchr(text_.data() + before, 0, text_.size() - before))
        nul_ = true;
    return true;
}

void AWorksheetStream::TakeRun(std::size_t to, std::string& run)
{
    run.assign(text_, begin_, to - begin_);
    text_.erase(0, to);
    scan_ -= to;
    boundary_ = begin_ = 0;
    elements_ = 0;
}

AWorksheetStream::AStep AWorksheetStream::Next(std::string& run)
{
    run.clear();
    for (;;) {
        if (nul_)
            return AStep::Unusual;
        if (phase_ == APhase::Tail) {
            while (ReadMore()) {
            }
            if (error_ != AZipReadError::None)
                return AStep::Failed;
            if (nul_)
                return AStep::Unusual;
            skeleton_.append(text_, begin_);
            text_.clear();
            begin_ = scan_ = 0;
            return AStep::End;
        }
        std::size_t end = 0;
        std::string_view name;
        const AItem item = scan_ < text_.size() ? ScanItem(end, name) : AItem::Incomplete;
        if (item == AItem::Unusual)
            return AStep::Unusual;
        if (item == AItem::Incomplete) {
            if (phase_ == APhase::Rows && elements_ > 0) {
                TakeRun(boundary_, run);
                return AStep::Run;
            }
            if (ReadMore())
                continue;
            if (error_ != AZipReadError::None)
                return AStep::Failed;
            if (phase_ == APhase::Rows)
                return AStep::Unusual;  // the part ends inside the sheet data
            phase_ = APhase::Tail;  // no sheet data: the parser judges the whole part
            continue;
        }
        if (phase_ == APhase::Head) {
            if (item == AItem::StartTag && depth_ == 1 && LocalName(name) == "sheetData") {
                skeleton_.assign(text_, 0, end);
                text_.erase(0, end);
                begin_ = scan_ = boundary_ = 0;
                depth_ = 0;
                phase_ = APhase::Rows;
                continue;
            }
            depth_ += (item == AItem::StartTag) - (item == AItem::EndTag);
            scan_ = end;
            continue;
        }
        if (item == AItem::EndTag && depth_ == 0) {
            // The end of the sheet data ("</sheetData>" as the tail's parse checks): what
            // comes before it is the last run, the rest belongs to the skeleton.
            phase_ = APhase::Tail;
            TakeRun(scan_, run);
            return AStep::Run;
        }
        depth_ += (item == AItem::StartTag) - (item == AItem::EndTag);
        scan_ = end;
        if ((item == AItem::EndTag || item == AItem::EmptyTag) && depth_ == 0) {
            boundary_ = end;
            if (++elements_ == kElementsPerRun) {
                TakeRun(boundary_, run);
                return AStep::Run;
            }
        }
    }
}

}  // namespace ExportImport::FileTypeExcel
