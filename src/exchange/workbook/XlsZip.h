// The zip packages that workbooks are: writing parts with deflate, and reading parts
// back with a bound on what one part may inflate to.
#pragma once
#include "core/Result.h"
#include "exchange/xml/xmlProgress.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ExportImport::FileTypeExcel {

class AZipWriter {
public:
    ~AZipWriter();
    AZipWriter(const AZipWriter&) = delete;
    AZipWriter& operator=(const AZipWriter&) = delete;

    // Creates (or replaces) the file; null when it cannot be created.
    static std::unique_ptr<AZipWriter> Create(const std::string& path);

    // `progress` hears how much of the content is packed.
    HRESULT Add(std::string_view name, std::string_view content,
                UtilityClasses::XML::AUserProgressNotifier* progress = nullptr);
    // Writes the central directory; the package is complete only after this.
    HRESULT Close();

private:
    explicit AZipWriter(void* zip) : zip_(zip) {}
    void* zip_;
};

enum class AZipReadError { None, NotFound, TooLarge, Damaged };

class AZipReader {
public:
    // A workbook part is never near this; a larger one is taken for a zip bomb.
    static constexpr std::uint64_t kDefaultPartLimit = std::uint64_t{512} << 20;

    ~AZipReader();
    AZipReader(const AZipReader&) = delete;
    AZipReader& operator=(const AZipReader&) = delete;

    // Null when the file cannot be opened or is not a zip package.
    static std::unique_ptr<AZipReader> Open(const std::string& path, std::uint64_t partLimit = kDefaultPartLimit);

    bool Has(std::string_view name);
    // The inflated size the package declares for a part (not checked); none when the
    // part is missing. Closes the part open for reading piece by piece.
    std::optional<std::uint64_t> DeclaredSize(std::string_view name);
    // The inflated bytes of a part. The declared size is not trusted: inflating stops as
    // soon as the part outgrows the limit, and a part whose data does not match its
    // checksum is damaged.
    AZipReadError Read(std::string_view name, std::string& content);

    // The same piece by piece, for parts too large to hold whole: one part is open at a
    // time, and Next appends up to `most` bytes to `content` (none at the part's end,
    // where the checksum is checked). Opening another part closes the open one.
    AZipReadError OpenPart(std::string_view name);
    AZipReadError Next(std::string& content, std::size_t most);
    // Of the open part: the bytes inflated so far and the size its header declares.
    std::uint64_t PartRead() const { return partRead_; }
    std::uint64_t PartDeclared() const { return partDeclared_; }

private:
    AZipReader(void* unzip, std::uint64_t partLimit) : unzip_(unzip), partLimit_(partLimit) {}
    void ClosePart();

    void* unzip_;
    std::uint64_t partLimit_;
    bool partOpen_ = false;
    std::uint64_t partRead_ = 0;
    std::uint64_t partDeclared_ = 0;
};

}  // namespace ExportImport::FileTypeExcel
