// Helpers shared by the compound-file tests: a scratch folder, reproducible
// content, whole-stream reads and writes, and running the system's Python.
#pragma once

#include "database/engine/CompoundFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace CompoundFileTest {

using Bytes = std::vector<std::uint8_t>;
using Database::Engine::ACompoundFile;
using Database::Engine::ACompoundStream;

class AScratchFolder {
public:
    AScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fendral-cfb-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~AScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    AScratchFolder(const AScratchFolder&) = delete;
    AScratchFolder& operator=(const AScratchFolder&) = delete;

    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }
    std::size_t EntryCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::string path_;
};

// Bytes that differ with the seed and the position, so that misplaced pieces show.
inline Bytes Pattern(std::size_t size, std::uint32_t seed)
{
    Bytes bytes(size);
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<std::uint8_t>(state);
    }
    return bytes;
}

inline Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Overwrites in place and cuts to length afterwards: truncating to zero first
// makes ext4 flush on close, which would slow the fuzz loops down a hundredfold.
inline void WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path;
    const bool written = pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()) &&
                         ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
    close(fd);
    ASSERT_TRUE(written) << path;
}

inline HRESULT ReadWhole(ACompoundStream& stream, Bytes& content)
{
    content.assign(static_cast<std::size_t>(stream.Size()), 0);
    std::size_t read = 0;
    const HRESULT hr = stream.ReadAt(0, content.data(), content.size(), &read);
    if (Result::Succeeded(hr) && read != content.size()) return Result::kStgReadFault;
    return hr;
}

inline Bytes StreamContent(ACompoundFile& file, const std::u16string& name)
{
    ACompoundStream* stream = nullptr;
    Bytes content;
    EXPECT_EQ(file.OpenStream(name, &stream), Result::kOk);
    if (stream != nullptr) {
        EXPECT_EQ(ReadWhole(*stream, content), Result::kOk);
    }
    return content;
}

using AStreamSet = std::map<std::u16string, Bytes>;

// Creates a file holding exactly these streams and commits it.
inline HRESULT WriteContainerFile(const std::string& path, const AStreamSet& streams)
{
    std::unique_ptr<ACompoundFile> file;
    HRESULT hr = ACompoundFile::Create(path, file);
    for (const auto& [name, content] : streams) {
        ACompoundStream* stream = nullptr;
        if (Result::Succeeded(hr)) hr = file->CreateStream(name, &stream);
        if (Result::Succeeded(hr)) hr = stream->WriteAt(0, content.data(), content.size());
    }
    return Result::Succeeded(hr) ? file->Commit() : hr;
}

// Every stream of the file, with its content.
inline AStreamSet ContentOf(ACompoundFile& file)
{
    AStreamSet all;
    for (const auto& name : file.StreamNames()) all[name] = StreamContent(file, name);
    return all;
}

// Opening damaged input must fail with a container code, or succeed with
// streams that can all be read to the end; never crash or hang.
inline void ExpectCleanOpen(const std::string& path, const std::string& what)
{
    std::unique_ptr<ACompoundFile> file;
    const HRESULT hr = ACompoundFile::Open(path, false, file);
    if (Result::Failed(hr)) {
        EXPECT_TRUE(hr == Result::kStgDocFileCorrupt || hr == Result::kStgInvalidHeader)
            << what << ": 0x" << std::hex << static_cast<std::uint32_t>(hr);
        return;
    }
    for (const auto& name : file->StreamNames()) {
        ACompoundStream* stream = nullptr;
        Bytes content;
        ASSERT_EQ(file->OpenStream(name, &stream), Result::kOk) << what;
        EXPECT_EQ(ReadWhole(*stream, content), Result::kOk) << what;
    }
}

// UTF-16 units as a JSON array, so that no name needs escaping.
inline std::string JsonUnits(const std::u16string& text)
{
    std::string json = "[";
    for (std::size_t i = 0; i < text.size(); ++i) json += (i ? "," : "") + std::to_string(unsigned{text[i]});
    return json + "]";
}

inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

struct APythonRun {
    int status = -1;
    std::string output;
};

// Runs a script with the system's Python (the one that has olefile); output
// holds what it printed, stdout and stderr together.
inline APythonRun RunPython(const AScratchFolder& folder, const std::string& script, const std::string& arguments)
{
    const std::string scriptPath = folder / "script.py";
    const std::string outputPath = folder / "script.out";
    std::ofstream(scriptPath, std::ios::trunc) << script;
    const std::string command =
        std::string(FENDRAL_PYTHON) + " " + scriptPath + " " + arguments + " > " + outputPath + " 2>&1";
    APythonRun run;
    run.status = std::system(command.c_str());
    const Bytes output = ReadFileBytes(outputPath);
    run.output.assign(output.begin(), output.end());
    return run;
}

}  // namespace CompoundFileTest
