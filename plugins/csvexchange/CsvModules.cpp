#include "CsvModules.h"

#include "CsvFormat.h"
#include "PluginText.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

namespace CsvExchange {

namespace {

// A CSV file larger than this is not read.
constexpr std::streamoff kMaxCsvSize = 256 << 20;

HRESULT FromErrno(int error)
{
    switch (error) {
    case ENOENT: return kFileNotFound;
    case EACCES:
    case EPERM: return static_cast<HRESULT>(0x80070005u);
    case ENOSPC: return static_cast<HRESULT>(0x80070070u);
    default: return static_cast<HRESULT>(0x8007001Fu);
    }
}

std::string IdText(const AModuleGuid& id)
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", id.data1, id.data2,
                  id.data3, id.data4[0], id.data4[1], id.data4[2], id.data4[3], id.data4[4], id.data4[5],
                  id.data4[6], id.data4[7]);
    return text;
}

std::string NowText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S:000", &local);
    return text;
}

// Written beside the target and renamed over it, so a failure leaves the old file.
HRESULT WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return FromErrno(errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        std::remove(temporary.c_str());
        return FromErrno(written ? errno : writeError);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        return FromErrno(error);
    }
    return kOk;
}

}  // namespace

ACsvExport::ACsvExport() : ACsvModule(kCsvExportId, u"Операции в файле CSV", u"csvExportFileName") {}

ACsvExport::~ACsvExport()
{
    if (document_)
        document_->Release();
}

HRESULT ACsvExport::OpenStream(IStream** stream)
{
    if (!stream)
        return kInvalidArg;
    *stream = nullptr;
    if (fileName_.empty())
        return kFileNotFound;
    if (document_)
        document_->Release();
    document_ = AMemoryStream::Create();
    document_->AddRef();  // the caller's reference
    *stream = document_;
    return kOk;
}

HRESULT ACsvExport::End()
{
    if (!document_)
        return kUnexpected;
    if (tools_)
        tools_->SetProgressText(tools_->Translate(u"Операции"));
    const std::string& text = document_->Bytes();
    std::size_t total = 0;
    for (std::size_t at = text.find("<transaction>"); at != std::string::npos; at = text.find("<transaction>", at + 1))
        ++total;
    std::string csv;
    std::size_t written = 0;
    const bool read = DocumentToCsv(text, csv, written, [&](std::size_t done) {
        if (tools_ && total != 0 && done % 256 == 0)
            tools_->SetProgress(static_cast<std::uint32_t>(done * 100 / total));
    });
    document_->Release();
    document_ = nullptr;
    if (!read) {
        if (tools_)
            tools_->AddError(u"Полученный документ повреждён.");
        return static_cast<HRESULT>(0x80004005u);
    }
    if (written == 0 && tools_)
        tools_->AddWarning(u"В документе нет операций.");
    const HRESULT hr = WriteFileAtomic(ToUtf8(fileName_), csv);
    if (hr < 0)
        return hr;
    if (tools_)
        tools_->SetProgress(100);
    RememberFile();
    return kOk;
}

ACsvImport::ACsvImport() : ACsvModule(kCsvImportId, u"Операции в файле CSV", u"csvImportFileName") {}

HRESULT ACsvImport::OpenStream(IStream** stream)
{
    if (!stream)
        return kInvalidArg;
    *stream = nullptr;
    std::ifstream file(ToUtf8(fileName_), std::ios::binary | std::ios::ate);
    if (!file)
        return kFileNotFound;
    const std::streamoff size = file.tellg();
    if (size < 0 || size > kMaxCsvSize)
        return kOutOfMemory;
    std::string csv(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(csv.data(), size))
        return FromErrno(EIO);
    std::vector<ACsvProblem> problems;
    std::string document = CsvToDocument(csv, IdText(kCsvImportId), NowText(), problems);
    if (tools_) {
        for (const ACsvProblem& problem : problems)
            tools_->AddWarning(
                ToUtf16("CSV record " + NumberText(problem.record) + " is left out: " + problem.what).c_str());
    }
    *stream = AMemoryStream::Create(std::move(document));
    return kOk;
}

HRESULT ACsvImport::End()
{
    RememberFile();
    return kOk;
}

}  // namespace CsvExchange
