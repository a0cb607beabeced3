// Where the per-user settings live: the settings file beside the program when the user has
// made one (portable settings), otherwise the user's own store file, which stands for the
// registry key of the other platform and keeps its typed behaviour.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace Files { class AFileSystem; }

namespace UserInterface::Settings::OptionStorage {

class AOptionStore {
public:
    virtual ~AOptionStore() = default;
    virtual bool IsUnusable() = 0;
    // Fills `buffer` only when a value of exactly that size is stored intact.
    virtual bool ReadBinary(std::string_view name, std::span<std::uint8_t> buffer) = 0;
    virtual bool WriteBinary(std::string_view name, std::span<const std::uint8_t> data) = 0;
    // Leaves `value` untouched when it answers false.
    virtual bool ReadInt(std::string_view name, std::int32_t& value) = 0;
    virtual bool WriteInt(std::string_view name, std::int32_t value) = 0;
    // Gives at most 1023 UTF-16 units of text, as the platform's 1024-character buffer did;
    // leaves `value` untouched when it answers false.
    virtual bool ReadString(std::string_view name, std::string& value) = 0;
    // No text deletes the value. Writes answer whether the file was written; the program
    // does not tell the user about failed writes.
    virtual bool WriteString(std::string_view name, std::optional<std::string_view> text) = 0;
};

// What both file-backed stores share: one "Settings" section of a settings file, read
// afresh on every call (other running copies write it too) and replaced atomically.
class AProfileFileStore : public AOptionStore {
public:
    bool ReadBinary(std::string_view name, std::span<std::uint8_t> buffer) override;
    bool WriteBinary(std::string_view name, std::span<const std::uint8_t> data) override;
    bool WriteInt(std::string_view name, std::int32_t value) override;
    bool WriteString(std::string_view name, std::optional<std::string_view> text) override;

    const std::string& Path() const { return path_; }

protected:
    AProfileFileStore(Files::AFileSystem& fs, std::string path, bool createMissing);
    std::optional<std::string> ReadRaw(std::string_view name);
    Files::AFileSystem& fs_;

private:
    std::string path_;
    bool createMissing_;
};

// The file beside the program. Never created by us; a hand-edited file is read leniently.
class AStoreIniFile final : public AProfileFileStore {
public:
    AStoreIniFile(Files::AFileSystem& fs, std::string path);
    bool IsUnusable() override;
    bool ReadInt(std::string_view name, std::int32_t& value) override;
    bool ReadString(std::string_view name, std::string& value) override;
};

// The user's store file, created with its folders when missing. Reads are strict the way
// typed registry values are: an integer must be a whole number, and an empty text is a value.
class AStoreRegistry final : public AProfileFileStore {
public:
    AStoreRegistry(Files::AFileSystem& fs, std::string path);
    bool IsUnusable() override { return unusable_; }
    bool ReadInt(std::string_view name, std::int32_t& value) override;
    bool ReadString(std::string_view name, std::string& value) override;

private:
    bool unusable_ = false;
};

constexpr std::size_t kMaxStoreFileSize = 1 << 20;
constexpr std::size_t kMaxStringUnits = 1023;
constexpr std::string_view kSettingsSection = "Settings";

// "<program name>.ini" beside the program: the file name's extension replaced, or ".ini"
// added when it has none (programs here usually have none).
std::string IniPathForProgram(std::string_view programPath);
// "<config folder>/VelvixSoft/Fendral.conf"; "" when there is no config folder.
std::string UserStorePath(std::string_view userConfigFolder);
// The INI file beside the program wins when it exists and can be opened for reading.
std::unique_ptr<AOptionStore> ChooseOptionStore(Files::AFileSystem& fs, std::string_view programPath,
                                                std::string_view userConfigFolder);

// The number a hand-written value starts with: blanks, a sign, decimal digits or "0x" and
// hex digits; whatever follows is ignored and 32 bits wrap around. No digits give 0.
std::int32_t ParseLeadingInt(std::string_view text);
// A value that is nothing but such a number, within -2^31 .. 2^32-1.
std::optional<std::int32_t> ParseWholeInt(std::string_view text);

}  // namespace UserInterface::Settings::OptionStorage
