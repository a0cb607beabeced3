// Template bodies of ATableImpl<T>; included by Table.h only.
#pragma once

namespace Database::Engine {

template <class T>
void ATableImpl<T>::Leave(Index& index, const std::vector<ARecordBase*>& slots, int n)
{
    if (slots.empty())
        return;
    if (IsBulk(slots.size(), index.size())) {
        // Membership by pointer value: no slot of the index is read, which matters for
        // indexes whose order scatters their slots over memory.
        std::vector<const ARecordBase*> leaving(slots.begin(), slots.end());
        std::sort(leaving.begin(), leaving.end());
        std::erase_if(index, [&](const Slot* slot) {
            return std::binary_search(leaving.begin(), leaving.end(), static_cast<const ARecordBase*>(slot));
        });
        return;
    }
    for (ARecordBase* base : slots) {
        auto* slot = static_cast<Slot*>(base);
        auto it = std::lower_bound(index.begin(), index.end(), slot, ByKeyThenId{n});
        if (it == index.end() || *it != slot)
            it = std::find(index.begin(), index.end(), slot);  // an index that lost its order
        if (FD_VERIFY(it != index.end()))
            index.erase(it);
    }
}

template <class T>
void ATableImpl<T>::Enter(Index& index, const std::vector<ARecordBase*>& slots, int n)
{
    if (slots.empty())
        return;
    const ByKeyThenId less{n};
    if (IsBulk(slots.size(), index.size())) {
        const Index added = SortedForIndex(slots, n);
        // Merged from the back into the grown index, so nothing is allocated but the
        // growth. Each new slot's place is found by doubling steps back from the
        // previous one and the run between is moved: the index's own slots are read only
        // near the places, not all of them as a full merge would.
        const std::ptrdiff_t oldSize = static_cast<std::ptrdiff_t>(index.size());
        index.resize(index.size() + added.size());
        auto write = index.begin() + static_cast<std::ptrdiff_t>(index.size());
        auto readEnd = index.begin() + oldSize;
        std::vector<std::size_t> places;
        places.reserve(added.size());
        for (auto it = added.rbegin(); it != added.rend(); ++it) {
            Slot* slot = *it;
            const std::ptrdiff_t size = readEnd - index.begin();
            std::ptrdiff_t bound = 1;
            while (bound <= size && less(slot, readEnd[-bound]))
                bound *= 2;
            const auto at = std::upper_bound(readEnd - std::min(bound, size), readEnd - bound / 2, slot, less);
            write = std::move_backward(at, readEnd, write);
            *--write = slot;
            places.push_back(static_cast<std::size_t>(write - index.begin()));
            readEnd = at;
        }
        if (IsUnique(n))
            for (std::size_t place : places)
                CheckUniqueAround(index, index.cbegin() + static_cast<std::ptrdiff_t>(place), n);
        return;
    }
    for (ARecordBase* base : slots) {
        auto* slot = static_cast<Slot*>(base);
        auto it = index.insert(std::upper_bound(index.begin(), index.end(), slot, less), slot);
        if (IsUnique(n))
            CheckUniqueAround(index, it, n);
    }
}

template <class T>
typename ATableImpl<T>::Index ATableImpl<T>::SortedForIndex(const std::vector<ARecordBase*>& slots, int n)
{
    std::vector<std::uint32_t> order;
    order.reserve(slots.size());
    for (const ARecordBase* slot : slots)
        order.push_back(slot->position);
    // Slot positions follow identifiers, so position order is identifier order. New
    // records come in that order already.
    if (!std::is_sorted(order.begin(), order.end()))
        std::sort(order.begin(), order.end());
    if (n >= 2)
        SortPositionsByKey(order, n);
    Index sorted(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        sorted[i] = &slots_[order[i]];
    return sorted;
}

template <class T>
void ATableImpl<T>::SortPositionsByKey(std::vector<std::uint32_t>& order, int n)
{
    const ByKeyThenId less{n};
    auto fullLess = [&](std::uint32_t a, std::uint32_t b) { return less(&slots_[a], &slots_[b]); };
    if constexpr (requires(const T& record, AIndexKey& key) { T::IndexKey(record, n, key); }) {
        // Packed keys and a radix sort: a fixed number of passes whatever the order, where
        // comparisons would each read two slots scattered over the table.
        SortByPackedKey(
            order, [&](std::uint32_t at, AIndexKey& key) { T::IndexKey(slots_[at].IndexedRecord(), n, key); },
            fullLess);
    } else if (!std::is_sorted(order.begin(), order.end(), fullLess)) {
        // The small tables without packed keys.
        std::sort(order.begin(), order.end(), fullLess);
    }
}

template <class T>
void ATableImpl<T>::CheckUniqueAround(const Index& index, typename Index::const_iterator at, int n) const
{
    // A unique key appearing twice is a fault of the caller, who must check first.
    if (at + 1 != index.end())
        FD_VERIFY(T::Compare((*at)->IndexedRecord(), at[1]->IndexedRecord(), n) != 0);
    if (at != index.begin())
        FD_VERIFY(T::Compare(at[-1]->IndexedRecord(), (*at)->IndexedRecord(), n) != 0);
}

template <class T>
HRESULT ATableImpl<T>::Load(AByteSource& source, std::uint32_t& errors)
{
    damagedWords_.clear();  // the words of the file read before, if any
    if (source.Size() == 0)
        return Result::kOk;
    const std::uint8_t* word = source.Take(4);
    if (!word)
        return source.Failure();
    std::uint32_t headerSize = 0;
    std::memcpy(&headerSize, word, 4);
    if (headerSize < 12 || headerSize > source.Size())
        return Result::kStgDocFileCorrupt;
    const std::uint8_t* rest = source.Take(headerSize - 4);
    if (!rest)
        return source.Failure();
    std::uint8_t head[24] = {};
    std::memcpy(head + 4, rest, std::min<std::size_t>(headerSize, sizeof head) - 4);
    ATableHeader stored;
    stored.headerSize = headerSize;
    std::memcpy(&stored.slotHeaderSize, head + 4, 4);
    std::memcpy(&stored.recordSize, head + 8, 4);
    std::memcpy(&stored.nextId, head + 12, 4);
    std::memcpy(&stored.changeCounter, head + 16, 8);
    if (!FixedSize())
        stored.recordSize = 0;
    // The slot header must at least hold the identifier, the stamp and the deleted flag.
    if (stored.slotHeaderSize < 13 || stored.slotHeaderSize > (1u << 20) || stored.recordSize > (1u << 20))
        return Result::kStgDocFileCorrupt;
    header_ = stored;

    const std::size_t slotSize = std::size_t{stored.slotHeaderSize} + stored.recordSize;
    ARecordId highest = 0;
    if constexpr (T::kStoredSize != 0) {
        // Fixed slots are taken one at a time from the source's window.
        while (source.Remaining() >= slotSize) {
            const auto slotStart = static_cast<std::uint32_t>(source.Position());
            const std::uint8_t* slot = source.Take(slotSize);
            if (!slot)
                return source.Failure();
            const ALoadedSlotHeader slotHeader = ReadSlotHeader(slot, stored.slotHeaderSize);
            if (slotHeader.deleted)  // the slot stays in the file, not in memory
                continue;
            if ((slotHeader.id & 1) == 0)
                return Result::kStgDocFileCorrupt;
            T record{};
            std::vector<ADamagedWord> damaged;
            AFieldReader reader(slot + stored.slotHeaderSize, stored.recordSize, &damaged);
            T::Fields(record, reader);
            for (const ADamagedWord& field : damaged)
                damagedWords_[DamagedKey(slotHeader.id, field.ordinal)] = field.word;
            AddReadSlot(std::move(record), slotHeader, slotStart);
            highest = std::max(highest, slotHeader.id);
        }
        if (source.Remaining() != 0)
            return Result::kStgDocFileCorrupt;
    } else {
        // A body carries its own length, so the slots are parsed from the stream's whole rest.
        const auto restSize = static_cast<std::size_t>(source.Remaining());
        const std::uint64_t restStart = source.Position();
        const std::uint8_t* slots = source.Take(restSize);
        if (!slots)
            return source.Failure();
        AByteCursor cursor(slots, restSize);
        while (cursor.Remaining() >= slotSize) {
            const auto slotStart = static_cast<std::uint32_t>(restStart + cursor.Position());
            const ALoadedSlotHeader slotHeader = ReadSlotHeader(cursor.Here(), stored.slotHeaderSize);
            if (!cursor.Skip(stored.slotHeaderSize))
                return Result::kStgDocFileCorrupt;
            if (slotHeader.deleted)
                continue;
            if ((slotHeader.id & 1) == 0)
                return Result::kStgDocFileCorrupt;
            T record{};
            const bool kept = T::ReadBody(record, cursor);
            if (cursor.Failed())
                return Result::kStgDocFileCorrupt;
            if (!kept) {
                ++errors;
                continue;
            }
            AddReadSlot(std::move(record), slotHeader, slotStart);
            highest = std::max(highest, slotHeader.id);
        }
        if (cursor.Remaining() != 0)
            return Result::kStgDocFileCorrupt;
    }
    // Identifiers are never reused, whatever the stored counter says.
    if (header_.nextId <= highest || (header_.nextId & 1) == 0)
        header_.nextId = highest + 2;
    return Result::kOk;
}

template <class T>
typename ATableImpl<T>::ALoadedSlotHeader ATableImpl<T>::ReadSlotHeader(const std::uint8_t* bytes,
                                                                         std::uint32_t slotHeaderSize)
{
    // Bytes of a longer slot header than ours are skipped.
    std::uint8_t known[16] = {};
    std::memcpy(known, bytes, std::min<std::size_t>(slotHeaderSize, sizeof known));
    ALoadedSlotHeader header;
    std::memcpy(&header.id, known, 4);
    std::memcpy(&header.stamp, known + 4, 8);
    header.deleted = known[12] != 0;
    return header;
}

template <class T>
void ATableImpl<T>::AddReadSlot(T&& record, const ALoadedSlotHeader& header, std::uint32_t filePosition)
{
    Slot& slot = slots_.emplace_back();
    slot.id = header.id;
    slot.position = static_cast<std::uint32_t>(slots_.size() - 1);
    slot.filePosition = filePosition;
    slot.table = this;
    slot.first = std::move(record);
    slot.current = 0;
    slot.saved = 0;
    slot.stamp = header.stamp;
}

template <class T>
void ATableImpl<T>::WriteBody(const ARecordBase& base, std::vector<std::uint8_t>& out) const
{
    T copy = static_cast<const Slot&>(base).Record();
    std::uint32_t ordinal = 0;
    AReferenceWalker toIds{[&](auto& ref) {
        using Target = typename std::remove_reference_t<decltype(ref)>;
        if (ref.IsResolved()) {
            ATableBase& target = TableOf(TargetTable<Target>::kId);
            ref = Target::FromWord(target.SlotAt(ref.SlotPosition()).id);
        } else if (ref.IsDamaged()) {
            ref = Target::FromWord(DamagedWord(base.id, ordinal));
        }
        ++ordinal;
    }};
    T::Fields(copy, toIds);
    if constexpr (T::kStoredSize != 0) {
        const std::size_t start = out.size();
        out.resize(start + T::kStoredSize);
        AFieldWriter writer(out.data() + start, out.data() + out.size());
        T::Fields(std::as_const(copy), writer);
        FD_VERIFY(writer.Filled());
    } else {
        T::WriteBody(copy, out);
    }
}

template <class T>
void ATableImpl<T>::SortSlotsById()
{
    auto byId = [](const Slot& a, const Slot& b) { return a.id < b.id; };
    if (std::is_sorted(slots_.begin(), slots_.end(), byId))
        return;
    std::stable_sort(slots_.begin(), slots_.end(), byId);
    for (std::size_t i = 0; i < slots_.size(); ++i)
        slots_[i].position = static_cast<std::uint32_t>(i);
    ForgetUnsaved();
}

template <class T>
std::uint32_t ATableImpl<T>::ResolveReferences()
{
    std::uint32_t failures = 0;
    AReferenceWalker resolve{[&](auto& ref) {
        if (!ref.IsUnresolved())
            return;
        if (ref.IsDamaged()) {
            ++failures;
            return;
        }
        using Target = typename std::remove_reference_t<decltype(ref)>;
        ARecordBase* found = TableOf(TargetTable<Target>::kId).FindSlot(ref.UnresolvedId());
        if (found && found->Exists())
            ref = Target::FromSlot(found->position);
        else
            ++failures;
    }};
    for (Slot& slot : slots_)
        if (slot.Exists())
            T::Fields(slot.Record(), resolve);
    return failures;
}

template <class T>
int ATableImpl<T>::RefinedKeyOf(int n)
{
    if constexpr (requires(const T& record, AIndexKey& key) { T::RefiningField(record, n, key); }) {
        const int refined = T::RefinedKey(n);
        return refined >= 2 && refined < n ? refined : 0;  // built before key n
    }
    return 0;
}

template <class T>
void ATableImpl<T>::RefineOrder(std::vector<std::uint32_t>& order, int n) const
{
    if constexpr (requires(const T& record, AIndexKey& key) { T::RefiningField(record, n, key); }) {
        // The field is drawn in slot order, which reads the table front to back; the
        // refined order would read it all over.
        std::vector<std::uint32_t> fieldOf(slots_.size());
        for (std::size_t at = 0; at < slots_.size(); ++at)
            if (slots_[at].Exists()) {  // the records the order holds
                AIndexKey key;
                T::RefiningField(slots_[at].IndexedRecord(), n, key);
                fieldOf[at] = key.Words()[0];
            }
        StableSortByWord(order, fieldOf);
    }
}

template <class T>
void ATableImpl<T>::BuildIndexes()
{
    // Room to grow, so that the first insertion after opening a large file does not copy
    // every index; pages of the room stay untouched until used.
    const std::size_t room = slots_.size() + slots_.size() / 8 + 16;
    Index live;
    std::vector<std::uint32_t> livePositions;
    live.reserve(room);
    livePositions.reserve(slots_.size());
    for (Slot& slot : slots_)
        if (slot.Exists()) {
            live.push_back(&slot);
            livePositions.push_back(slot.position);
        }
    // orders[n]: key n's order, kept while a later key refines it
    std::vector<std::vector<std::uint32_t>> orders(static_cast<std::size_t>(T::kIndexCount));
    std::vector<bool> refinedLater(static_cast<std::size_t>(T::kIndexCount), false);
    for (int n = 2; n < T::kIndexCount; ++n)
        if (const int refined = RefinedKeyOf(n); refined != 0)
            refinedLater[static_cast<std::size_t>(refined)] = true;
    for (int n = 2; n < T::kIndexCount; ++n) {
        std::vector<std::uint32_t>& order = orders[static_cast<std::size_t>(n)];
        if (const int refined = RefinedKeyOf(n); refined != 0) {
            order = orders[static_cast<std::size_t>(refined)];
            RefineOrder(order, n);
        } else {
            order = livePositions;
            SortPositionsByKey(order, n);
        }
        Index& index = indexes_[static_cast<std::size_t>(n - 1)];
        index.reserve(room);
        index.resize(order.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            index[i] = &slots_[order[i]];
        if (!refinedLater[static_cast<std::size_t>(n)])
            std::vector<std::uint32_t>().swap(order);
    }
    indexes_[0] = std::move(live);
}

template <class T>
std::uint32_t ATableImpl<T>::CountIndexErrors() const
{
    std::uint32_t errors = 0;
    for (std::size_t i = 1; i < slots_.size(); ++i)
        errors += slots_[i - 1].id == slots_[i].id;
    for (int n = 2; n < T::kIndexCount; ++n) {
        if (!IsUnique(n))
            continue;
        const Index& index = IndexAt(n);
        for (std::size_t i = 1; i < index.size(); ++i)
            errors += T::Compare(index[i - 1]->Record(), index[i]->Record(), n) == 0;
    }
    return errors;
}

}  // namespace Database::Engine
