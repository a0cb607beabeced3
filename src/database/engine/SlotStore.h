// The slots of a table: elements that keep their address while the table grows, since
// indexes and steps point at them.
//
// A deque would keep addresses too, but its blocks are 512 bytes: three transaction slots
// each, one allocation per three records, and every access by position divides by three.
// Here a block holds a fixed power of two of slots, so a position is a shift and a mask,
// and a block's memory is only touched as far as it is filled.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace Database::Engine {

template <class S>
class ASlotStore {
public:
    static constexpr std::size_t kBlockBits = 9;
    static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;

    template <bool Const>
    class AIterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = S;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<Const, const S*, S*>;
        using reference = std::conditional_t<Const, const S&, S&>;
        using Store = std::conditional_t<Const, const ASlotStore, ASlotStore>;

        AIterator() = default;
        AIterator(Store* store, std::size_t at) : store_(store), at_(at) {}
        operator AIterator<true>() const requires(!Const) { return {store_, at_}; }

        reference operator*() const { return (*store_)[at_]; }
        pointer operator->() const { return &(*store_)[at_]; }
        reference operator[](difference_type n) const { return (*store_)[Moved(n)]; }
        AIterator& operator++() { ++at_; return *this; }
        AIterator operator++(int) { AIterator before = *this; ++at_; return before; }
        AIterator& operator--() { --at_; return *this; }
        AIterator operator--(int) { AIterator before = *this; --at_; return before; }
        AIterator& operator+=(difference_type n) { at_ = Moved(n); return *this; }
        AIterator& operator-=(difference_type n) { at_ = Moved(-n); return *this; }
        friend AIterator operator+(AIterator it, difference_type n) { return it += n; }
        friend AIterator operator+(difference_type n, AIterator it) { return it += n; }
        friend AIterator operator-(AIterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const AIterator& a, const AIterator& b)
        {
            return static_cast<difference_type>(a.at_) - static_cast<difference_type>(b.at_);
        }
        friend bool operator==(const AIterator& a, const AIterator& b) { return a.at_ == b.at_; }
        friend auto operator<=>(const AIterator& a, const AIterator& b) { return a.at_ <=> b.at_; }

    private:
        std::size_t Moved(difference_type n) const
        {
            return static_cast<std::size_t>(static_cast<difference_type>(at_) + n);
        }

        Store* store_ = nullptr;
        std::size_t at_ = 0;
    };
    using iterator = AIterator<false>;
    using const_iterator = AIterator<true>;

    ASlotStore() = default;
    ASlotStore(const ASlotStore&) = delete;
    ASlotStore& operator=(const ASlotStore&) = delete;
    ~ASlotStore()
    {
        PopTo(0);
        for (S* block : blocks_)
            std::allocator<S>().deallocate(block, kBlockSize);
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    S& operator[](std::size_t at) { return blocks_[at >> kBlockBits][at & (kBlockSize - 1)]; }
    const S& operator[](std::size_t at) const { return blocks_[at >> kBlockBits][at & (kBlockSize - 1)]; }

    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size_}; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

    S& emplace_back()
    {
        if (size_ == blocks_.size() * kBlockSize)
            blocks_.push_back(std::allocator<S>().allocate(kBlockSize));
        S* slot = ::new (static_cast<void*>(&(*this)[size_])) S();
        ++size_;
        return *slot;
    }

    // Removes the slots the predicate picks; the others keep their order.
    template <class Predicate>
    friend void erase_if(ASlotStore& store, Predicate predicate)
    {
        const auto kept = std::remove_if(store.begin(), store.end(), predicate);
        store.PopTo(static_cast<std::size_t>(kept - store.begin()));
    }

private:
    void PopTo(std::size_t count)
    {
        while (size_ > count)
            std::destroy_at(&(*this)[--size_]);
    }

    std::vector<S*> blocks_;
    std::size_t size_ = 0;
};

}  // namespace Database::Engine
