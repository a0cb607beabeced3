// Where the parts of an interchange document lie in its text, found without building
// the document tree: the root's start tag, each section's start tag, and the items of
// each section in runs of a bounded size. The read phase then parses one run at a time,
// so a document of any size takes the memory of one run's tree instead of the whole
// tree. The scan only finds boundaries: every byte still goes through the parser (runs,
// start tags and the remaining stretches), which is the judge of well-formedness.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace ExportImport::Private {

struct ATextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view In(std::string_view text) const { return text.substr(begin, end - begin); }
};

struct ADocumentLayout {
    static constexpr std::size_t kKinds = 5;

    struct ASection {
        std::size_t kind = 0;  // index into the names given to the scan
        ATextRange startTag;   // "<currencies ...>" or "<currencies .../>"
    };
    // Consecutive content of one section holding up to the run size of its items.
    struct ARun {
        std::size_t section = 0;
        ATextRange text;
        std::size_t items = 0;
    };

    std::optional<ATextRange> rootStartTag;  // none: the document has no `fendral` root
    std::vector<ASection> sections;
    std::array<std::vector<ARun>, kKinds> runs;  // by kind, in document order
    std::array<std::size_t, kKinds> itemCounts{};
    // Everything else the parser must still see: the text around the root, and the root's
    // content outside its sections.
    std::vector<ATextRange> others;
};

struct ASectionNames {
    std::string_view section;
    std::string_view item;
};

// Nothing when the text is not laid out as an element tree the scan can follow (or
// holds a NUL byte); the caller then parses it whole, which reports what is wrong.
// runFound, when given, is called after each run, so that a window can go on painting
// through the scan of a large text.
std::optional<ADocumentLayout> ScanDocumentLayout(std::string_view text,
                                                  const std::array<ASectionNames, ADocumentLayout::kKinds>& names,
                                                  std::size_t itemsPerRun,
                                                  const std::function<void()>& runFound = {});

}  // namespace ExportImport::Private
