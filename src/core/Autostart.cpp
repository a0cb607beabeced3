#include "core/Autostart.h"

#include "core/FileSystem.h"

#include <cerrno>
#include <vector>

namespace UserInterface::Settings {

namespace {

constexpr std::size_t kMaxEntrySize = 64 * 1024;

// An Exec argument in double quotes, with the characters the quoting rules reserve escaped
// and "%" doubled so it is not taken for a field code.
std::string QuoteArgument(std::string_view arg)
{
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}

// The escapes of a desktop-entry string value.
std::string EscapeValue(std::string_view value)
{
    std::string escaped;
    for (char c : value) {
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        case '\t': escaped += "\\t"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string UnescapeValue(std::string_view value)
{
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            plain += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': plain += ' '; break;
        case 'n': plain += '\n'; break;
        case 'r': plain += '\r'; break;
        case 't': plain += '\t'; break;
        case '\\': plain += '\\'; break;
        default: plain += '\\', plain += value[i];
        }
    }
    return plain;
}

std::vector<std::string> SplitExec(std::string_view exec)
{
    std::vector<std::string> args;
    std::string current;
    bool inArg = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted && c == '\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == '"') {
            quoted = !quoted;
            inArg = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inArg)
                args.push_back(std::move(current));
            current.clear();
            inArg = false;
        } else if (c == '%' && i + 1 < exec.size()) {
            // "%%" is a percent sign; other field codes expand to nothing here.
            if (exec[++i] == '%') {
                current += '%';
                inArg = true;
            }
        } else {
            current += c;
            inArg = true;
        }
    }
    if (inArg)
        args.push_back(std::move(current));
    return args;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string AutostartPath(std::string_view userConfigFolder)
{
    if (userConfigFolder.empty())
        return {};
    return Files::JoinPath(Files::JoinPath(userConfigFolder, "autostart"), "Fendral.desktop");
}

std::string FormatDesktopEntry(const AAutostartEntry& entry)
{
    std::string exec = QuoteArgument(entry.programPath);
    if (entry.dataFile)
        exec += " " + QuoteArgument(*entry.dataFile);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Fendral\n"
           "Comment=Fendral\n"
           "Exec=" + EscapeValue(exec) + "\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::optional<AAutostartEntry> ParseDesktopEntry(std::string_view text)
{
    bool inEntry = false;
    std::optional<std::string> exec;
    bool hidden = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inEntry || equals == std::string_view::npos)
            continue;
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (key == "Exec" && !exec)
            exec = UnescapeValue(value);
        else if (key == "Hidden")
            hidden = value == "true";
    }
    if (!exec || hidden)
        return std::nullopt;
    std::vector<std::string> args = SplitExec(*exec);
    if (args.empty() || args[0].empty())
        return std::nullopt;
    AAutostartEntry entry{std::move(args[0]), std::nullopt};
    if (args.size() > 1)
        entry.dataFile = std::move(args[1]);
    return entry;
}

std::optional<AAutostartEntry> ReadAutostart(Files::AFileSystem& fs, const std::string& path)
{
    std::string text;
    if (path.empty() || fs.ReadFile(path, text, kMaxEntrySize) != 0)
        return std::nullopt;
    return ParseDesktopEntry(text);
}

int WriteAutostart(Files::AFileSystem& fs, const std::string& path, const AAutostartEntry& entry)
{
    if (path.empty())
        return ENOENT;
    if (int rc = Files::MakeFolders(fs, Files::ParentFolder(path)))
        return rc;
    return fs.WriteFileAtomic(path, FormatDesktopEntry(entry));
}

int RemoveAutostart(Files::AFileSystem& fs, const std::string& path)
{
    if (path.empty())
        return 0;
    const int rc = fs.RemoveFile(path);
    return rc == ENOENT ? 0 : rc;
}

}  // namespace UserInterface::Settings
