// Bulk storage for the nodes the reader creates.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace UtilityClasses::XML::Implementation {

// Reading a large document creates millions of small nodes; taking each from the heap
// and giving each back costs more than reading the text. The reader takes them from
// large blocks instead. Every node holds a reference on its arena, so a node removed
// from its document may outlive the document; the blocks go back when the last node
// does.
class ANodeArena {
public:
    // Blocks grow from the first size to the largest, so a small document takes little
    // memory and a large one few blocks.
    static constexpr std::size_t kFirstBlockSize = 64 * 1024;
    static constexpr std::size_t kLargestBlockSize = 2 * 1024 * 1024;
    // Room kept before every node for the arena it came from (null for heap nodes),
    // sized to keep the node on the heap's alignment.
    static constexpr std::size_t kHeaderSize = 16;

    // A new arena holding one reference for the caller.
    static ANodeArena* Create() { return new ANodeArena; }

    void AddRef() { m_references.fetch_add(1, std::memory_order_relaxed); }
    void Release()
    {
        if (m_references.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

    // Room for one node with its header; the node holds a reference until it is freed.
    // Only the holder of the arena's first reference (the reader) allocates.
    void* Allocate(std::size_t size);

    // The allocation functions of nodes: from an arena or from the heap.
    static void* AllocateNode(std::size_t size, ANodeArena* arena);
    static void FreeNode(void* node);

private:
    ANodeArena() = default;
    ~ANodeArena();
    ANodeArena(const ANodeArena&) = delete;
    ANodeArena& operator=(const ANodeArena&) = delete;

    std::atomic<std::size_t> m_references{1};
    static char* NewBlock(std::size_t size);
    static void FreeBlock(char* block, std::size_t size);

    struct ABlock {
        char* memory;
        std::size_t size;
    };
    std::vector<ABlock> m_blocks;
    char* m_next = nullptr;
    char* m_end = nullptr;
};

}  // namespace UtilityClasses::XML::Implementation
