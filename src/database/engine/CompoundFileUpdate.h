// Saving an open compound file in place: only the sectors whose bytes change are
// written, under the protection of a journal of their old bytes (see SaveJournal.h).
//
// Streams keep the sectors they had; a stream that grows gets sectors that were free
// before this save or that lie past the file's end, so that the journal need only hold
// the sectors in use before. The small streams are packed into the mini stream as a
// whole new file would have them; the directory and the tables are built anew and
// written where they differ.
#pragma once

#include "core/Result.h"
#include "database/engine/CompoundFileExtents.h"
#include "database/engine/CompoundFileReader.h"
#include "database/engine/CompoundFileStream.h"
#include "database/engine/CompoundFileTables.h"
#include "database/engine/SaveJournal.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Database::Engine::Implementation {

struct AStreamToUpdate {
    std::u16string name;
    ACompoundStreamImpl* stream;
};

class AInPlaceUpdate {
public:
    AInPlaceUpdate(int fd, const AContainerLayout& old) : fd_(fd), old_(old), maxSector_(old.sectorCount) {}

    // Works out what to write for these streams (in name order), reading their new
    // content and the bytes it replaces. Nothing is written.
    [[nodiscard]] HRESULT Plan(const std::vector<AStreamToUpdate>& streams);
    std::uint64_t BytesToWrite() const { return writes_.size() * kSector; }
    std::uint64_t SectorCount() const { return maxSector_; }
    // Sectors within the file that nothing uses after the save.
    std::uint64_t FreeSectors() const;

    // Journals the sectors in use that change, writes every planned sector and flushes,
    // then removes the journal. On failure the old bytes go back; only when that fails
    // too is the journal left (journalLeft) for the next open to roll back.
    [[nodiscard]] HRESULT Apply(const std::string& journalPath, const AJournal& identity, ASaveCalls& calls,
                                bool& journalLeft);

    // After a successful Apply: where each stream now lies (in the order Plan got
    // them) and the layout of the file.
    std::vector<AExtentList>& Extents() { return extents_; }
    AContainerLayout& Layout() { return layout_; }

private:
    static constexpr std::size_t kSector = 512;
    struct AWrite {
        std::uint64_t offset;
        std::vector<std::uint8_t> bytes;
        bool journaled;                 // the sector was in use before
        std::vector<std::uint8_t> old;  // what it held
    };

    bool WasInUse(std::uint32_t sector) const;
    std::uint32_t Allocate();
    std::vector<std::uint32_t> Reuse(const std::vector<std::uint32_t>& chain, std::uint64_t count);
    [[nodiscard]] HRESULT Place(std::uint64_t offset, const std::uint8_t* bytes, bool wasInUse);
    [[nodiscard]] HRESULT PlaceSectors(const std::vector<std::uint32_t>& chain, const std::vector<std::uint8_t>& bytes);
    [[nodiscard]] HRESULT PlanLargeStream(const AStreamToUpdate& stream, ADirectoryItem& item, AExtentList& extents);
    [[nodiscard]] HRESULT PlanSmallStreams(const std::vector<AStreamToUpdate>& streams,
                                           std::vector<ADirectoryItem>& items);
    [[nodiscard]] HRESULT PlanDirectory(const std::vector<ADirectoryItem>& items);
    [[nodiscard]] HRESULT PlanFat();

    const int fd_;
    const AContainerLayout& old_;
    std::uint32_t cursor_ = 0;     // where the search for free sectors goes on
    std::uint32_t maxSector_;      // sectors the file holds after the save
    std::vector<AWrite> writes_;
    std::vector<AExtentList> extents_;
    AContainerLayout layout_;
    std::uint64_t miniStreamSize_ = 0;
};

}  // namespace Database::Engine::Implementation
