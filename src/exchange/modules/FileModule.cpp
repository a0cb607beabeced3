#include "exchange/modules/FileModule.h"

#include "core/CodePage.h"
#include "core/FileStream.h"

namespace ExportImport::Private {

using UtilityClasses::Streams::AFileStream;
using UtilityClasses::Streams::AStreamPtr;
using UtilityClasses::Streams::EFileMode;

namespace {

HRESULT OpenFile(const std::u16string& fileName, EFileMode mode, AStreamPtr& opened, IStream** stream)
{
    if (!stream)
        return Result::kInvalidArg;
    *stream = nullptr;
    if (fileName.empty())
        return Result::kFileNotFound;
    const HRESULT hr = AFileStream::Open(UtilityClasses::Strings::Utf16ToUtf8(fileName), mode, &opened);
    if (Result::Failed(hr))
        return hr;
    opened->AddRef();  // the caller's reference
    *stream = opened.get();
    return Result::kOk;
}

}  // namespace

HRESULT AFileExportModule::OpenStream(IStream** stream)
{
    stream_.Reset();  // an earlier uncommitted attempt is dropped
    return OpenFile(FileName(), EFileMode::CreateAtomic, stream_, stream);
}

HRESULT AFileExportModule::End()
{
    if (!stream_)
        return Result::kUnexpected;
    const HRESULT hr = stream_->Commit();
    stream_.Reset();
    if (Result::Failed(hr))
        return hr;
    return AFileModule::End();
}

HRESULT AFileImportModule::OpenStream(IStream** stream)
{
    AStreamPtr opened;
    return OpenFile(FileName(), EFileMode::Read, opened, stream);
}

}  // namespace ExportImport::Private
