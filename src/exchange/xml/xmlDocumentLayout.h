// Where the parts of a document of sections lie in its text, found without building
// the document tree: the root's start tag, each section's start tag, and the items of
// each section in runs of a bounded size. A reader then parses one run at a time, so a
// document of any size takes the memory of one run's tree instead of the whole tree.
// The scan only finds boundaries: every byte still goes through the parser (runs,
// start tags and the remaining stretches), which is the judge of well-formedness.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace UtilityClasses::XML {

class ANode;

struct ATextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view In(std::string_view text) const { return text.substr(begin, end - begin); }
};

struct ADocumentLayout {
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

    std::optional<ATextRange> rootStartTag;  // none: the document has no such root
    std::vector<ASection> sections;
    std::vector<std::vector<ARun>> runs;  // by kind, in document order
    std::vector<std::size_t> itemCounts;  // by kind
    // Everything else the parser must still see, in document order: the text before the
    // root, the root's content before each section and after the last one, and the text
    // after the root.
    std::vector<ATextRange> others;
};

struct ASectionNames {
    std::string_view section;
    std::string_view item;
};

// The layout under the first top-level element named `root`, whose children named as
// one of the sections are the sections (of the kind of their index in `names`).
// Nothing when the text is not laid out as an element tree the scan can follow (or
// holds a NUL byte); the caller then parses it whole, which reports what is wrong.
// runFound, when given, is called after each run with the offset the scan has reached,
// so that a window can go on painting through the scan of a large text.
std::optional<ADocumentLayout> ScanDocumentLayout(std::string_view text, std::string_view root,
                                                  std::span<const ASectionNames> names, std::size_t itemsPerRun,
                                                  const std::function<void(std::size_t)>& runFound = {});

// The element of a start tag alone ("<name attributes>"), without its content; null
// when the tag does not parse.
std::unique_ptr<ANode> StartTagElement(std::string_view tag);

}  // namespace UtilityClasses::XML
