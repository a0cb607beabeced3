// A worksheet part read piece by piece: the content of its sheet data handed out in runs
// of whole elements, so that a sheet of any size takes the memory of one run instead of
// its whole text and tree. The scan only finds element boundaries; every byte still goes
// through the parser (the runs, and the worksheet around its sheet data), which is the
// judge of well-formedness.
#pragma once
#include "exchange/workbook/XlsZip.h"

#include <cstddef>
#include <string>

namespace ExportImport::FileTypeExcel {

class AWorksheetStream {
public:
    // Elements (rows) per run.
    static constexpr std::size_t kElementsPerRun = 256;

    enum class AStep {
        Run,       // `run` holds the next run of the sheet data's content
        End,       // the part is read; Skeleton() holds the rest of it
        Unusual,   // the text is not laid out so that the scan can follow it
        Failed,    // the part could not be read (`Error` tells why)
    };

    // The part must have been opened on the zip reader, which nothing else reads meanwhile.
    explicit AWorksheetStream(AZipReader& zip) : zip_(zip) {}

    AStep Next(std::string& run);
    AZipReadError Error() const { return error_; }
    // The worksheet without the content of its sheet data, once the end was reached.
    const std::string& Skeleton() const { return skeleton_; }

private:
    enum class APhase { Head, Rows, Tail };
    enum class AItem { Incomplete, Unusual, Text, Other, StartTag, EmptyTag, EndTag };

    // Recognises the item at scan_: its kind, where it ends, and for tags the name.
    AItem ScanItem(std::size_t& end, std::string_view& name) const;
    // Reads another piece, at least as much as is buffered (so that rescanning a long
    // item stays linear); false at the end of the part or on a failure.
    bool ReadMore();
    // Moves [begin_, to) into `run` and drops it from the buffer.
    void TakeRun(std::size_t to, std::string& run);

    AZipReader& zip_;
    AZipReadError error_ = AZipReadError::None;
    bool ended_ = false;
    bool nul_ = false;
    APhase phase_ = APhase::Head;
    std::string text_;         // buffered text from begin_ on
    std::size_t begin_ = 0;    // the start of what is not handed out yet
    std::size_t scan_ = 0;     // where scanning goes on
    std::size_t boundary_ = 0; // the end of the last whole element of the sheet data
    std::size_t elements_ = 0; // whole elements since begin_
    int depth_ = 0;
    std::string skeleton_;
};

}  // namespace ExportImport::FileTypeExcel
