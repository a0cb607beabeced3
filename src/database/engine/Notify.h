// Change subscribers and progress reporting of the engine.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace Database::Engine {

class ADBEngine;
struct ARecordBase;

using ASlotList = std::vector<ARecordBase*>;

// A subscriber to the changes of one database. It links itself to the database's
// list when constructed and unlinks itself when destroyed. (One list per database
// rather than per process: while a second file is being opened, the pages of the
// first must not hear about its records.)
class ANotify {
public:
    explicit ANotify(ADBEngine& engine);
    virtual ~ANotify();
    ANotify(const ANotify&) = delete;
    ANotify& operator=(const ANotify&) = delete;

    // Called after every commit, undo and redo with the records concerned.
    virtual void OnChange(const ASlotList& changed, const ASlotList& removed, const ASlotList& added) = 0;

    // The engine is going away: forget it.
    void Detach() { engine_ = nullptr; }

private:
    ADBEngine* engine_;
};

// Turns a running count into whole percentages and reports each new one.
class AProgress {
public:
    using ASink = std::function<void(int percent)>;

    // Attaching (or resetting) starts over at 0 and reports 0.
    void Attach(ASink sink);
    void Reset();
    void SetTotal(std::uint64_t total) { total_ = total; }
    void Add(std::uint64_t n);
    int Percent() const { return percent_; }

private:
    ASink sink_;
    std::uint64_t total_ = 0;
    std::uint64_t count_ = 0;
    int percent_ = 0;
};

}  // namespace Database::Engine
