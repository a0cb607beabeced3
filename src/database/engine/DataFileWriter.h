// Writing a database into a compound container: changed slots in place, or
// every table anew.
#pragma once

#include "core/Result.h"
#include "database/engine/Reference.h"

#include <cstdint>
#include <vector>

namespace Database::Engine {

class ACompoundFile;
class ADBEngine;
class APagedStream;
class ATableBase;
struct AFileHeader;
struct ATableHeader;

class ADataFileWriter {
public:
    ADataFileWriter(ADBEngine& engine, ACompoundFile& storage, bool rewriteAll)
        : engine_(engine), storage_(storage), rewriteAll_(rewriteAll)
    {
    }

    // Writes the streams and commits the container. Only on success are the
    // engine's slots, table headers and saved state updated.
    [[nodiscard]] HRESULT Run();

private:
    struct APendingTable {
        std::vector<std::uint32_t> looked;  // the slots this save looks at, by position
        std::vector<std::pair<std::uint32_t, std::uint32_t>> placed;  // slot, its new file position
        ATableHeader* header = nullptr;
        std::uint32_t headerSize = 0, slotHeaderSize = 0, recordSize = 0;
    };

    [[nodiscard]] HRESULT WriteHeaderStream(AFileHeader& header);
    [[nodiscard]] HRESULT WriteTable(ATableBase& table, APendingTable& pending);
    [[nodiscard]] HRESULT WriteFixedSlots(ATableBase& table, APagedStream& stream, bool fresh, APendingTable& pending);
    [[nodiscard]] HRESULT WriteVariableSlots(ATableBase& table, APagedStream& stream, bool fresh,
                                             APendingTable& pending);
    void SlotBytes(const ATableBase& table, std::size_t slotPosition, std::uint32_t slotHeaderSize,
                   bool withBody, std::vector<std::uint8_t>& out);

    ADBEngine& engine_;
    ACompoundFile& storage_;
    bool rewriteAll_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace Database::Engine
