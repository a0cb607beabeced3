#include "core/OptionStore.h"

#include "core/FileSystem.h"
#include "core/IniDocument.h"
#include "core/ProfileStruct.h"

#include <cerrno>

namespace UserInterface::Settings::OptionStorage {

AProfileFileStore::AProfileFileStore(Files::AFileSystem& fs, std::string path, bool createMissing)
    : fs_(fs), path_(std::move(path)), createMissing_(createMissing)
{
}

std::optional<std::string> AProfileFileStore::ReadRaw(std::string_view name)
{
    std::string bytes;
    if (path_.empty() || fs_.ReadFile(path_, bytes, kMaxStoreFileSize) != 0)
        return std::nullopt;
    return AIniDocument::Parse(bytes).Find(kSettingsSection, name);
}

bool AProfileFileStore::WriteString(std::string_view name, std::optional<std::string_view> text)
{
    if (path_.empty())
        return false;
    std::string bytes;
    const int rc = fs_.ReadFile(path_, bytes, kMaxStoreFileSize);
    // A file we cannot read in full is never rewritten: that would lose what we did not see.
    if (rc != 0 && !(rc == ENOENT && createMissing_))
        return false;
    AIniDocument doc = AIniDocument::Parse(bytes);
    if (text) {
        if (!doc.Set(kSettingsSection, name, *text))
            return false;
    } else {
        if (!doc.Find(kSettingsSection, name))
            return true;
        doc.Remove(kSettingsSection, name);
    }
    return fs_.WriteFileAtomic(path_, doc.Serialize()) == 0;
}

bool AProfileFileStore::ReadBinary(std::string_view name, std::span<std::uint8_t> buffer)
{
    const auto raw = ReadRaw(name);
    return raw && DecodeProfileStruct(*raw, buffer);
}

bool AProfileFileStore::WriteBinary(std::string_view name, std::span<const std::uint8_t> data)
{
    return WriteString(name, EncodeProfileStruct(data));
}

bool AProfileFileStore::WriteInt(std::string_view name, std::int32_t value)
{
    return WriteString(name, std::to_string(value));
}

AStoreIniFile::AStoreIniFile(Files::AFileSystem& fs, std::string path)
    : AProfileFileStore(fs, std::move(path), false)
{
}

bool AStoreIniFile::IsUnusable() { return Path().empty() || fs_.CheckOpen(Path(), true) != 0; }

bool AStoreIniFile::ReadString(std::string_view name, std::string& value)
{
    const auto raw = ReadRaw(name);
    if (!raw)
        return false;
    if (raw->empty())
        return false;
    value = TruncateToUtf16Units(*raw, kMaxStringUnits);
    return true;
}

bool AStoreIniFile::ReadInt(std::string_view name, std::int32_t& value)
{
    std::string text;
    if (!ReadString(name, text))
        return false;
    value = ParseLeadingInt(text);
    return true;
}

AStoreRegistry::AStoreRegistry(Files::AFileSystem& fs, std::string path)
    : AProfileFileStore(fs, std::move(path), true)
{
    // Opening the key creates it when missing; the store file and its folders likewise.
    if (Path().empty() || Files::MakeFolders(fs_, Files::ParentFolder(Path())) != 0) {
        unusable_ = true;
        return;
    }
    const int rc = fs_.CreateNewFile(Path(), {});
    unusable_ = (rc != 0 && rc != EEXIST) || fs_.CheckOpen(Path(), true) != 0;
}

bool AStoreRegistry::ReadString(std::string_view name, std::string& value)
{
    const auto raw = ReadRaw(name);
    // A value longer than the buffer makes the query fail rather than come back cut.
    if (!raw || Utf16Units(*raw) > kMaxStringUnits)
        return false;
    value = *raw;
    return true;
}

bool AStoreRegistry::ReadInt(std::string_view name, std::int32_t& value)
{
    const auto raw = ReadRaw(name);
    if (!raw)
        return false;
    const auto number = ParseWholeInt(*raw);
    if (!number)
        return false;
    value = *number;
    return true;
}

std::string IniPathForProgram(std::string_view programPath)
{
    const std::string name = Files::FileNameOf(programPath);
    const std::size_t dot = name.rfind('.');
    // Only a dot inside the file name counts: "~/.local/bin/fendral" has no extension.
    const std::string_view stem = std::string_view(programPath).substr(
        0, programPath.size() - name.size() + (dot == std::string::npos || dot == 0 ? name.size() : dot));
    return std::string(stem) + ".ini";
}

std::string UserStorePath(std::string_view userConfigFolder)
{
    if (userConfigFolder.empty())
        return {};
    return Files::JoinPath(Files::JoinPath(userConfigFolder, "VelvixSoft"), "Fendral.conf");
}

std::unique_ptr<AOptionStore> ChooseOptionStore(Files::AFileSystem& fs, std::string_view programPath,
                                                std::string_view userConfigFolder)
{
    if (!programPath.empty() && !Files::FileNameOf(programPath).empty()) {
        std::string ini = IniPathForProgram(programPath);
        if (fs.CheckOpen(ini, false) == 0)
            return std::make_unique<AStoreIniFile>(fs, std::move(ini));
    }
    return std::make_unique<AStoreRegistry>(fs, UserStorePath(userConfigFolder));
}

std::int32_t ParseLeadingInt(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    unsigned base = 10;
    if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    std::uint32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        value = value * base + digit;  // unsigned arithmetic wraps, as the platform's parser did
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

std::optional<std::int32_t> ParseWholeInt(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty() || digits.size() > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace UserInterface::Settings::OptionStorage
