// The real file system with chosen operations made to fail with a chosen errno, for the
// failures a test cannot cause by itself (a full disk, a write-protected one; tests run as root).
#pragma once
#include "core/FileSystem.h"

#include <map>

enum class AFsOp { Read, WriteAtomic, CreateNew, CreateTemp, Copy, Rename, Remove, MakeFolder, List, CheckOpen };

class AFaultyFileSystem : public Files::AFileSystem {
public:
    void Fail(AFsOp op, int error) { faults_[op] = error; }
    void Heal() { faults_.clear(); }
    int Count(AFsOp op) const { auto it = counts_.find(op); return it == counts_.end() ? 0 : it->second; }

    int ReadFile(const std::string& p, std::string& out, std::size_t limit) override
    { return Run(AFsOp::Read, [&] { return real_.ReadFile(p, out, limit); }); }
    int WriteFileAtomic(const std::string& p, std::string_view d) override
    { return Run(AFsOp::WriteAtomic, [&] { return real_.WriteFileAtomic(p, d); }); }
    int CreateNewFile(const std::string& p, std::string_view d) override
    { return Run(AFsOp::CreateNew, [&] { return real_.CreateNewFile(p, d); }); }
    int CreateTempFile(const std::string& f, std::string& created) override
    { return Run(AFsOp::CreateTemp, [&] { return real_.CreateTempFile(f, created); }); }
    int CopyFile(const std::string& from, const std::string& to) override
    { return Run(AFsOp::Copy, [&] { return real_.CopyFile(from, to); }); }
    int Rename(const std::string& from, const std::string& to) override
    { return Run(AFsOp::Rename, [&] { return real_.Rename(from, to); }); }
    int RemoveFile(const std::string& p) override
    { return Run(AFsOp::Remove, [&] { return real_.RemoveFile(p); }); }
    int MakeFolder(const std::string& p) override
    { return Run(AFsOp::MakeFolder, [&] { return real_.MakeFolder(p); }); }
    int ListFiles(const std::string& f, std::vector<std::string>& names) override
    { return Run(AFsOp::List, [&] { return real_.ListFiles(f, names); }); }
    Files::AFileKind Kind(const std::string& p) override { return real_.Kind(p); }
    int CheckOpen(const std::string& p, bool w) override
    { return Run(AFsOp::CheckOpen, [&] { return real_.CheckOpen(p, w); }); }

private:
    template <typename F>
    int Run(AFsOp op, F&& real)
    {
        ++counts_[op];
        auto it = faults_.find(op);
        return it != faults_.end() ? it->second : real();
    }
    Files::ALocalFileSystem real_;
    std::map<AFsOp, int> faults_;
    std::map<AFsOp, int> counts_;
};
