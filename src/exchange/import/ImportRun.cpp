#include "exchange/import/ImportRun.h"

#include "core/RefPtr.h"
#include "core/SettingsBlobs.h"
#include "exchange/import/ImportTexts.h"

namespace ExportImport {

namespace {

using ImportText::kCannotOpenFile;

void Forward(const AImportMessages& messages, AModuleSession& session)
{
    for (const AImportMessage& message : messages.All())
        session.AddMessage(!message.warning, message.text);
}

}  // namespace

bool ReadDocument(AImportInterface& module, Database::ADatabase& db, const std::u16string& fileName,
                  AModuleSession& session, std::unique_ptr<AImportBatch>& batch)
{
    session.ClearMessages();
    batch = std::make_unique<AImportBatch>();
    const auto& strings = session.Strings();
    const std::u16string unknown = ImportText::kUnknownModuleError.Resolve(strings);
    const bool usesFile = module.UsesFile();
    if (usesFile && !fileName.empty())
        module.SetFileName(fileName.c_str());
    ARunScope running(session);
    // A module that converts its file while it opens the stream (the workbook) moves the
    // first half of the bar; reading the document shares out the rest.
    session.LoadSteps({1, 1});

    UtilityClasses::ARefPtr<IStream> stream;
    HRESULT hr = module.OpenStream(stream.Out());
    if (Result::Succeeded(hr) && !stream)
        hr = Result::kUnexpected;  // success without a stream is a broken module
    if (Result::Failed(hr)) {
        session.AddMessage(true, usesFile ? strings.Format(kCannotOpenFile, {fileName}) : unknown);
        return false;
    }
    if (Result::Failed(module.Begin())) {
        session.AddMessage(true, unknown);
        return false;
    }
    AImportMessages messages;
    const bool read = ReadInterchange(AImportEnvironment{strings, db, &session}, *stream, *batch, messages);
    stream.Reset();  // reading is over
    Forward(messages, session);
    if (Result::Failed(module.End())) {
        session.AddMessage(true, unknown);
        return false;
    }
    return read;
}

HRESULT SaveImport(AImportInterface& module, Database::ADatabase& db, AModuleSession& session, AImportBatch& batch)
{
    HRESULT hr = Result::kOk;
    {
        ARunScope running(session);
        hr = SaveBatch(AImportEnvironment{session.Strings(), db, &session}, batch);
    }
    if (Result::Succeeded(hr))
        if (const AModuleGuid* id = module.GetId())
            UserInterface::Settings::SaveLibraryGuid(session.Store(), UserInterface::Settings::ALibraryUse::Import,
                                                     ToGuid(*id));
    return hr;
}

}  // namespace ExportImport
