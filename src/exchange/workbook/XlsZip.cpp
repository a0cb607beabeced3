#include "exchange/workbook/XlsZip.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <algorithm>
#include <zlib.h>

namespace ExportImport::FileTypeExcel {

namespace {

// The size a part is allowed to reserve up front, whatever its header claims.
constexpr std::uint64_t kReserveLimit = std::uint64_t{16} << 20;
// On worksheet XML this level takes half the time of the default one for a package a
// fifth larger; the levels below it save little more time and grow the package faster.
constexpr int kCompressionLevel = 4;

}  // namespace

AZipWriter::~AZipWriter()
{
    if (zip_)
        zipClose(static_cast<zipFile>(zip_), nullptr);
}

std::unique_ptr<AZipWriter> AZipWriter::Create(const std::string& path)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return nullptr;
    return std::unique_ptr<AZipWriter>(new AZipWriter(zip));
}

HRESULT AZipWriter::Add(std::string_view name, std::string_view content,
                        UtilityClasses::XML::AUserProgressNotifier* progress)
{
    if (!zip_)
        return Result::kUnexpected;
    auto* zip = static_cast<zipFile>(zip_);
    const std::string entry(name);
    zip_fileinfo info{};
    info.tmz_date = {0, 0, 0, 1, 0, 1980};
    if (zipOpenNewFileInZip64(zip, entry.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              kCompressionLevel, content.size() >= 0xFFFFFFFFu) != ZIP_OK)
        return Result::kStgWriteFault;
    // Packed in pieces small enough for whoever watches the progress to see it move.
    constexpr std::size_t kChunk = 1u << 18;
    for (std::size_t done = 0; done < content.size();) {
        const std::size_t size = std::min(kChunk, content.size() - done);
        if (zipWriteInFileInZip(zip, content.data() + done, static_cast<unsigned>(size)) != ZIP_OK) {
            zipCloseFileInZip(zip);
            return Result::kStgWriteFault;
        }
        done += size;
        if (progress)
            progress->Notify(static_cast<unsigned>(done * 100 / content.size()));
    }
    return zipCloseFileInZip(zip) == ZIP_OK ? Result::kOk : Result::kStgWriteFault;
}

HRESULT AZipWriter::Close()
{
    if (!zip_)
        return Result::kUnexpected;
    const int closed = zipClose(static_cast<zipFile>(zip_), nullptr);
    zip_ = nullptr;
    return closed == ZIP_OK ? Result::kOk : Result::kStgWriteFault;
}

AZipReader::~AZipReader()
{
    if (unzip_)
        unzClose(static_cast<unzFile>(unzip_));
}

std::unique_ptr<AZipReader> AZipReader::Open(const std::string& path, std::uint64_t partLimit)
{
    unzFile unzip = unzOpen64(path.c_str());
    if (!unzip)
        return nullptr;
    return std::unique_ptr<AZipReader>(new AZipReader(unzip, partLimit));
}

bool AZipReader::Has(std::string_view name)
{
    const std::string entry(name);
    return unzLocateFile(static_cast<unzFile>(unzip_), entry.c_str(), 1) == UNZ_OK;
}

std::optional<std::uint64_t> AZipReader::DeclaredSize(std::string_view name)
{
    ClosePart();  // locating another entry leaves the open part behind
    auto* unzip = static_cast<unzFile>(unzip_);
    const std::string entry(name);
    unz_file_info64 info{};
    if (unzLocateFile(unzip, entry.c_str(), 1) != UNZ_OK ||
        unzGetCurrentFileInfo64(unzip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return std::nullopt;
    return info.uncompressed_size;
}

AZipReadError AZipReader::Read(std::string_view name, std::string& content)
{
    content.clear();
    AZipReadError error = OpenPart(name);
    if (error != AZipReadError::None)
        return error;
    const std::uint64_t declared = partDeclared_;
    content.reserve(static_cast<std::size_t>(std::min<std::uint64_t>({declared, kReserveLimit, partLimit_})));
    constexpr std::size_t kPiece = 64 * 1024;
    for (std::size_t before = 0;; before = content.size()) {
        error = Next(content, kPiece);
        if (error != AZipReadError::None || content.size() == before)
            break;
    }
    if (error != AZipReadError::None)
        content.clear();
    return error;
}

AZipReadError AZipReader::OpenPart(std::string_view name)
{
    ClosePart();
    auto* unzip = static_cast<unzFile>(unzip_);
    const std::string entry(name);
    if (unzLocateFile(unzip, entry.c_str(), 1) != UNZ_OK)
        return AZipReadError::NotFound;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(unzip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return AZipReadError::Damaged;
    if (info.uncompressed_size > partLimit_)
        return AZipReadError::TooLarge;
    if (unzOpenCurrentFile(unzip) != UNZ_OK)
        return AZipReadError::Damaged;
    partOpen_ = true;
    partRead_ = 0;
    partDeclared_ = info.uncompressed_size;
    return AZipReadError::None;
}

AZipReadError AZipReader::Next(std::string& content, std::size_t most)
{
    if (!partOpen_)
        return AZipReadError::NotFound;
    auto* unzip = static_cast<unzFile>(unzip_);
    const std::size_t before = content.size();
    content.resize(before + most);
    const int read = unzReadCurrentFile(unzip, content.data() + before,
                                        static_cast<unsigned>(std::min<std::size_t>(most, 1u << 30)));
    content.resize(before + static_cast<std::size_t>(std::max(read, 0)));
    AZipReadError error = AZipReadError::None;
    if (read < 0)
        error = AZipReadError::Damaged;
    else if ((partRead_ += static_cast<std::uint64_t>(read)) > partLimit_)
        error = AZipReadError::TooLarge;
    else if (read > 0)
        return AZipReadError::None;
    // The end of the part, or a failure: closing checks the CRC once the whole part was read.
    partOpen_ = false;
    if (unzCloseCurrentFile(unzip) != UNZ_OK && error == AZipReadError::None)
        error = AZipReadError::Damaged;
    return error;
}

void AZipReader::ClosePart()
{
    if (partOpen_)
        unzCloseCurrentFile(static_cast<unzFile>(unzip_));
    partOpen_ = false;
}

}  // namespace ExportImport::FileTypeExcel
