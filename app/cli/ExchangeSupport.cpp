#include "ExchangeSupport.h"

#include "CliMessages.h"
#include "TerminalProgress.h"

#include "core/XdgFolders.h"
#include "exchange/import/ImportTexts.h"

#include <cstdlib>

namespace Cli {

using namespace ExportImport;

namespace {
using ImportText::kErrorLabel;
using ImportText::kWarningLabel;
}  // namespace

std::unique_ptr<UserInterface::Settings::OptionStorage::AOptionStore> OpenProgramSettings(Files::AFileSystem& fs)
{
    return UserInterface::Settings::OptionStorage::ChooseOptionStore(
        fs, ProgramFolder() + "/fendral", Files::UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
}

ATerminalDisplay::~ATerminalDisplay()
{
    if (drawn_)
        context_.err << '\n' << std::flush;
}

void ATerminalDisplay::ShowCaption(std::u16string_view caption)
{
    if (drawn_)
        context_.err << '\n';
    context_.err << TerminalText(caption) << '\n' << std::flush;
    drawn_ = false;
}

void ATerminalDisplay::ShowPercent(unsigned percent)
{
    context_.err << '\r' << ATerminalProgress::Bar(static_cast<int>(percent)) << std::flush;
    drawn_ = true;
}

ACommandSession::ACommandSession(const ACliContext& context)
    : store_(OpenProgramSettings(fs_)),
      display_(context),
      session_(context.strings, *store_, context.errIsTerminal ? &display_ : nullptr)
{
}

const AModuleGuid* BuiltInModule(const std::string& format, const AModuleGuid& xml, const AModuleGuid& xlsx)
{
    if (format == "xml")
        return &xml;
    if (format == "xlsx")
        return &xlsx;
    return nullptr;
}

template <class Interface>
Interface* FindModule(const Private::ASource<Interface>& source, const std::string& format,
                      const AModuleGuid* builtIn)
{
    if (builtIn)
        if (const auto* item = source.FindById(ToGuid(*builtIn)))
            return item->Module();
    for (std::size_t i = 0; i < source.Count(); ++i) {
        const auto& item = source.Item(i);
        const std::string library = item.Library() ? item.Library()->FileName() : std::string();
        const char16_t* name = item.Module()->GetName();
        if ((!library.empty() && (library == format || library == format + ".so")) ||
            (name && TerminalText(name) == format))
            return item.Module();
    }
    return nullptr;
}

template AExportInterface* FindModule(const Private::ASource<AExportInterface>&, const std::string&,
                                      const AModuleGuid*);
template AImportInterface* FindModule(const Private::ASource<AImportInterface>&, const std::string&,
                                      const AModuleGuid*);

void PrintModuleMessages(const ACliContext& context, const AModuleSession& session)
{
    for (const AModuleMessage& message : session.Messages()) {
        // Some module texts already open with the label ("Ошибка: ..."); it is not said twice.
        const std::u16string label(context.strings.Text(message.error ? kErrorLabel : kWarningLabel));
        if (message.text.rfind(label + u":", 0) != 0)
            context.err << TerminalText(label) << ": ";
        context.err << TerminalText(message.text) << '\n';
    }
}

AExitCode RunOutcome(const AModuleSession& session, AExitCode opened)
{
    return session.Clean() && opened == kDone ? kDone : kDoneWithMessages;
}

}  // namespace Cli
