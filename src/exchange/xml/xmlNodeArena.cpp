#include "exchange/xml/xmlNodeArena.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace UtilityClasses::XML::Implementation {

namespace {

constexpr std::size_t RoundUp(std::size_t size)
{
    return (size + ANodeArena::kHeaderSize - 1) & ~(ANodeArena::kHeaderSize - 1);
}

ANodeArena** HeaderOf(void* node)
{
    return reinterpret_cast<ANodeArena**>(static_cast<char*>(node) - ANodeArena::kHeaderSize);
}

}  // namespace

char* ANodeArena::NewBlock(std::size_t size)
{
    if (size < kLargestBlockSize)
        return static_cast<char*>(::operator new(size));
    void* block = std::aligned_alloc(kLargestBlockSize, size);
    if (!block)
        throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
    // Filling a large tree is dominated by page faults; large pages take one fault where
    // small ones take five hundred. A hint only: failure changes nothing.
    ::madvise(block, size, MADV_HUGEPAGE);
#endif
    return static_cast<char*>(block);
}

void ANodeArena::FreeBlock(char* block, std::size_t size)
{
    if (size < kLargestBlockSize)
        ::operator delete(block);
    else
        std::free(block);
}

ANodeArena::~ANodeArena()
{
    for (const ABlock& block : m_blocks)
        FreeBlock(block.memory, block.size);
}

void* ANodeArena::Allocate(std::size_t size)
{
    const std::size_t needed = kHeaderSize + RoundUp(size);
    if (needed > kFirstBlockSize)
        throw std::bad_alloc();
    // Only the reader's own reference left: every node taken from here is gone, so the
    // blocks can be filled again. A reader that hands out nodes one at a time and drops
    // them thus stays within one block.
    if (m_references.load(std::memory_order_acquire) == 1 && !m_blocks.empty()) {
        for (std::size_t i = 1; i < m_blocks.size(); ++i)
            FreeBlock(m_blocks[i].memory, m_blocks[i].size);
        m_blocks.resize(1);
        m_next = m_blocks.front().memory;
        m_end = m_next + m_blocks.front().size;
    }
    if (static_cast<std::size_t>(m_end - m_next) < needed) {
        const std::size_t blockSize =
            m_blocks.empty() ? kFirstBlockSize : std::min(2 * m_blocks.back().size, kLargestBlockSize);
        m_blocks.reserve(m_blocks.size() + 1);
        char* block = NewBlock(blockSize);
        m_blocks.push_back({block, blockSize});
        m_next = block;
        m_end = block + blockSize;
    }
    char* place = m_next;
    m_next += needed;
    AddRef();
    return place;
}

void* ANodeArena::AllocateNode(std::size_t size, ANodeArena* arena)
{
    char* place = static_cast<char*>(arena ? arena->Allocate(size) : ::operator new(kHeaderSize + size));
    *reinterpret_cast<ANodeArena**>(place) = arena;
    return place + kHeaderSize;
}

void ANodeArena::FreeNode(void* node)
{
    if (!node)
        return;
    ANodeArena* arena = *HeaderOf(node);
    if (arena)
        arena->Release();
    else
        ::operator delete(HeaderOf(node));
}

}  // namespace UtilityClasses::XML::Implementation
