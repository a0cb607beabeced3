#include "ui/CommandLine.h"

#include "core/Trash.h"
#include "core/Version.h"

#include <filesystem>
#include <fstream>

namespace UserInterface {

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char a = text[text.size() - suffix.size() + i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (a != suffix[i])
            return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<std::string> InformationRequest(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 2)
        return std::nullopt;
    const std::string version = std::to_string(Version::kMajor) + '.' + std::to_string(Version::kMinor) + '.' +
                                std::to_string(Version::kBuild);
    if (arguments[1] == "--version")
        return "fendral " + version + '\n';
    if (arguments[1] != "--help" && arguments[1] != "-h")
        return std::nullopt;
    return "Usage: fendral [FILE]\n"
           "  or:  fendral --help | --version\n\n"
           "Fendral keeps a household's books: accounts in many currencies, transactions, categories,\n"
           "rates, a budget and reports, all in one data file.\n\n"
           "FILE is the data file to open (*.fend; *.fdbf, *.fdb and backup copies *.fbk open too).\n"
           "Without FILE the program opens the file it had open last, or a new one. When a copy of the\n"
           "program is running already, FILE is handed to it and this one ends.\n\n"
           "The settings are kept in $XDG_CONFIG_HOME/VelvixSoft/Fendral.conf (by default under\n"
           "~/.config); a file fendral.ini beside the program is used instead when it exists.\n"
           "fendral-cli works on data files without a display.\n";
}

std::optional<std::string> DataFileArgument(const std::vector<std::string>& arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    std::string_view text = arguments[1];
    // Blanks and control characters before the name are skipped, as the command line was.
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    std::string name;
    if (!text.empty() && text.front() == '"') {
        text.remove_prefix(1);
        name = std::string(text.substr(0, text.find('"')));
    } else {
        name = std::string(text);
    }
    if (name.empty())
        return std::nullopt;
    return name;
}

std::string WholePath(std::string_view path, std::string_view currentFolder)
{
    std::filesystem::path whole(path);
    if (whole.is_relative())
        whole = std::filesystem::path(currentFolder) / whole;
    std::string text = whole.lexically_normal().string();
    if (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

std::optional<std::string> DesktopLinkTarget(std::string_view entryText)
{
    bool inEntry = false;
    std::size_t at = 0;
    while (at <= entryText.size()) {
        std::size_t end = entryText.find('\n', at);
        if (end == std::string_view::npos)
            end = entryText.size();
        const std::string_view line = Trimmed(entryText.substr(at, end - at));
        at = end + 1;
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || line.substr(0, 4) != "URL=")
            continue;
        std::string_view url = Trimmed(line.substr(4));
        if (url.substr(0, 7) == "file://") {
            std::optional<std::string> decoded = Files::PercentDecode(url.substr(7));
            if (decoded && !decoded->empty() && decoded->front() == '/')
                return decoded;
            return std::nullopt;
        }
        if (!url.empty() && url.front() == '/')
            return std::string(url);
        return std::nullopt;
    }
    return std::nullopt;
}

std::string ResolveDroppedFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const std::filesystem::path target = std::filesystem::canonical(path, error);
        return error ? path : target.string();
    }
    if (EndsWithIgnoringCase(path, ".desktop")) {
        std::ifstream file(path, std::ios::binary);
        // A link entry is a few lines; a huge file is no link of ours.
        constexpr std::size_t kMaxEntry = 64 * 1024;
        std::string content(kMaxEntry, '\0');
        file.read(content.data(), static_cast<std::streamsize>(content.size()));
        content.resize(static_cast<std::size_t>(file.gcount()));
        if (std::optional<std::string> target = DesktopLinkTarget(content))
            return *target;
    }
    return path;
}

}  // namespace UserInterface
