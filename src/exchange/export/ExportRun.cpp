#include "exchange/export/ExportRun.h"

#include "core/RefPtr.h"
#include "core/SettingsBlobs.h"
#include "exchange/ExchangeTexts.h"
#include "exchange/modules/SystemErrorText.h"

namespace ExportImport {

namespace {

constexpr std::u16string_view kUnknownModuleError = u"Модуль экспорта сообщил о неизвестной ошибке.";

HRESULT WriteThroughModule(AExportInterface& module, ADatabase& db, const AExportRun& run, AModuleSession& session)
{
    UtilityClasses::ARefPtr<IStream> stream;
    HRESULT hr = module.OpenStream(stream.Out());
    if (Result::Succeeded(hr) && !stream)
        hr = Result::kUnexpected;  // success without a stream is a broken module
    if (Result::Failed(hr))
        return hr;
    hr = module.Begin();
    if (Result::Failed(hr))
        return hr;
    AExportSelection selection = run.selection;
    if (const AModuleGuid* id = module.GetId())
        selection.module = *id;
    const AExportEnvironment environment{&session.Strings(), run.clock, &session};
    ARunScope running(session);
    hr = ExportDocument(db, selection, environment, stream.get());
    // A document that did not reach the stream whole is a failed export, whatever the
    // module would make of it; End is not called, so a file module keeps the old file.
    if (Result::Failed(hr))
        return hr;
    return module.End();
}

}  // namespace

std::u16string ExportFailureMessage(const UtilityClasses::Strings::AStrings& strings, const std::u16string& fileName,
                                    HRESULT code)
{
    const std::u16string system = SystemErrorText(code);
    if (system.empty())
        return std::u16string(kUnknownModuleError);
    return strings.Format(ExportMessage::kCannotCreateFile, {fileName, system});
}

HRESULT RunExport(AExportInterface& module, ADatabase& db, const AExportRun& run, AModuleSession& session)
{
    session.ClearMessages();
    const bool usesFile = module.UsesFile();
    if (usesFile && !run.fileName.empty())
        module.SetFileName(run.fileName.c_str());
    const HRESULT hr = WriteThroughModule(module, db, run, session);
    if (Result::Failed(hr)) {
        session.AddMessage(true, ExportFailureMessage(session.Strings(), usesFile ? run.fileName : u"", hr));
        return hr;
    }
    if (const AModuleGuid* id = module.GetId())
        UserInterface::Settings::SaveLibraryGuid(session.Store(), UserInterface::Settings::ALibraryUse::Export,
                                                 ToGuid(*id));
    return hr;
}

}  // namespace ExportImport
