// The record engine: tables, undoable steps, change notification, data file.
#pragma once

#include "core/ADate.h"
#include "core/Result.h"
#include "database/engine/FileName.h"
#include "database/engine/Notify.h"
#include "database/engine/Table.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace Database::Engine {

class ACompoundFile;

// The version block of the "dbHeader" stream.
struct AFileHeader {
    std::uint8_t identity[16] = {};
    std::uint16_t formatA = 1;
    std::uint16_t formatB = 2;
    std::uint16_t creatorBuild = 235;
    std::uint16_t writerBuild = 235;
    std::uint16_t lowestReaderBuild = 218;
    std::uint16_t reserved = 0;
};

class ADBEngine {
public:
    static constexpr ATableId kTableCount = 19;
    static constexpr ATableId kUserTable = 2;
    static constexpr ATableId kClassifierTable = 9;

    explicit ADBEngine(AClock clock = SystemLocalTime);
    virtual ~ADBEngine();
    ADBEngine(const ADBEngine&) = delete;
    ADBEngine& operator=(const ADBEngine&) = delete;

    ATableBase& Table(ATableId id) { return *tables_[id]; }
    const ATableBase& Table(ATableId id) const { return *tables_[id]; }
    template <class T>
    ATableImpl<T>& Table()
    {
        return static_cast<ATableImpl<T>&>(*tables_[T::kTableId]);
    }
    AFileTime Now() const { return Dates::ToFileTime(clock_()); }
    const AClock& Clock() const { return clock_; }

    // ---- steps ----
    void BeginStep();
    void LabelStep(std::u16string_view label);
    void CommitStep();
    void RollBack();
    bool StepOpen() const { return stepOpen_; }
    bool CanUndo() const { return !stepOpen_ && current_ >= lowestUndoable_; }
    bool CanRedo() const { return !stepOpen_ && current_ + 1 < static_cast<int>(history_.size()); }
    bool Undo();
    bool Redo();
    // What the open step has changed, deleted and inserted so far (empty when none is
    // open). Until the commit the indexes from 1 up still show these records as they
    // were before the step, so rules that must see the step's own work look here.
    const ASlotList& StepChanged() const { return openStep_.lists[kChanged]; }
    const ASlotList& StepDeleted() const { return openStep_.lists[kDeleted]; }
    const ASlotList& StepInserted() const { return openStep_.lists[kInserted]; }
    std::optional<std::u16string> UndoLabel() const;
    std::optional<std::u16string> RedoLabel() const;
    bool Modified() const { return current_ != savedStep_; }
    // Forgets every step: what the engine holds now counts as saved content
    // (used after the default contents of a new database are made).
    void ClearHistory();

    // ---- subscribers ----
    void Subscribe(ANotify* subscriber);
    void Unsubscribe(ANotify* subscriber);

    // ---- data file ----
    // Opens path into this (empty) engine. Result codes: see Result.h; a file
    // that opened with consistency errors answers kOpenedWithErrors.
    [[nodiscard]] HRESULT Open(const std::string& path);
    [[nodiscard]] HRESULT Save();
    [[nodiscard]] HRESULT SaveAs(const std::string& path);
    bool ReadOnly() const { return readOnly_; }
    bool HasStorage() const { return storage_ != nullptr; }
    // Closes the file (and so gives up its lock); the records stay, and the next save
    // must name a file.
    void ReleaseStorage();
    const AFileName& FileName() const { return fileName_; }
    void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
    std::uint32_t LoadErrors() const { return loadErrors_; }
    const AFileHeader& FileHeader() const { return fileHeader_; }
    AProgress& Progress() { return progress_; }
    bool NeedsFullRewrite() const { return renumbered_; }

    // Gives identifiers anew (1, 3, 5, ...) in every table but one.
    void Renumber(ATableId except);
    // Resolves every table's references; answers the number of failures.
    std::uint32_t ResolveAll();
    std::uint32_t ConsistencyErrors();

    std::uint8_t currentUser = 0;

protected:
    // Installs the table for T; the finance model does this for all nineteen in its constructor.
    template <class T>
    void AddTable()
    {
        tables_[T::kTableId] = std::make_unique<ATableImpl<T>>(*this);
    }

    // The next save writes every stream anew (the file held an older layout).
    void RequireFullRewrite() { renumbered_ = true; }
    // Save refuses; the content must be saved under a new name (a converted file).
    void MarkReadOnly() { readOnly_ = true; }

    // Hooks for the finance model.
    virtual HRESULT AfterTableLoaded(ATableId) { return Result::kOk; }
    // After every table is read and before references are resolved.
    virtual void AfterTablesRead() {}
    virtual void AfterChange() {}
    // A path that is not a compound file at all.
    virtual HRESULT OpenPreviousGeneration(const std::string&) { return Result::kNotDataFile; }

private:
    friend class ATableBase;
    friend class ADataFileWriter;
    struct AStep {
        ASlotList lists[3];  // changed, deleted, inserted
        std::optional<std::u16string> label;
    };
    enum { kChanged = 0, kDeleted = 1, kInserted = 2 };

    void NoteInStep(ARecordBase& slot);
    void Notify(const ASlotList& changed, const ASlotList& removed, const ASlotList& added);
    // Moves every slot of a step one version back (-1) or forward (+1) and keeps
    // the indexes in order.
    void Replay(AStep& step, int direction);

    [[nodiscard]] HRESULT ReadTables();
    [[nodiscard]] HRESULT ReadHeaderStream();
    void MarkSaved();

    AClock clock_;
    std::array<std::unique_ptr<ATableBase>, kTableCount + 1> tables_;  // [0] unused
    std::vector<AStep> history_;
    AStep openStep_;
    bool stepOpen_ = false;
    int current_ = -1;
    int savedStep_ = -1;
    int lowestUndoable_ = 0;
    std::vector<ANotify*> subscribers_;

    std::unique_ptr<ACompoundFile> storage_;
    bool readOnly_ = false;
    bool renumbered_ = false;
    AFileName fileName_;
    std::string programFolder_;
    AFileHeader fileHeader_;
    std::uint32_t loadErrors_ = 0;
    AProgress progress_;
};

}  // namespace Database::Engine
