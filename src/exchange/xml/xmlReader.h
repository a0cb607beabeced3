// Reading a document from a stream.
#pragma once
#include "core/Streams.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace UtilityClasses::XML {

class ADocument;
class ANode;
class AUserProgressNotifier;

namespace Implementation {
class AParseCursor;

// Recognises and reads the one node that begins at the cursor (the cursor must not be
// at the end), for callers that take a long run of top-level nodes one at a time.
// Throws AParseException.
std::unique_ptr<ANode> ParseNextNode(AParseCursor& cursor);
}  // namespace Implementation

struct AParseResult {
    int code = 0;               // 0, or the parse error 1 to 5
    std::int64_t line = 0;      // where the error was found, from 1
    std::int64_t column = 0;
    HRESULT streamError = Result::kOk;  // a failed read; the text read until then was cut

    bool Ok() const { return code == 0 && Result::Succeeded(streamError); }
};

// Reads the stream from its current position into the document, replacing what the
// document held. On failure the document is left empty. Progress needs the byte size
// of what will be read.
AParseResult ParseDocument(ADocument& document, Streams::IStream* stream, AUserProgressNotifier* notifier = nullptr,
                           std::uint64_t totalSize = 0);

// The same over bytes in memory.
AParseResult ParseDocument(ADocument& document, std::string_view text);

}  // namespace UtilityClasses::XML
