// NameIndex: a hash map from names to values, for the indexes a build looks a name up in for
// every tag of every application (the tag index, the DDE points, the tag servers).
//
// With 60000 names such a lookup mostly waits for memory. A node-based map waits three times
// (its bucket, the node before the first of the bucket, the node); here a lookup waits for its
// slot and its entry:
// - the slots are one flat array of (part of the hash, entry number), probed linearly, so that
//   a slot of another name is passed over without reading its entry;
// - the entries lie in the order they were entered, each name in memory the index owns, near
//   the entries entered with it: names met in the order they were entered (or its reverse, as
//   a rebuild meets a DDE.CFG's points) are met in the order of memory.
//
// An entry never moves: a pointer to its value stays valid until the name is erased or the index
// goes. Erased entries leave their memory to the index until it goes; erasing is rare here.
// `Hash` and `Equal` take std::string_view and must agree (equal names, equal hashes).
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <memory_resource>
#include <string_view>
#include <utility>
#include <vector>

namespace quellor {

template <typename Value, typename Hash, typename Equal>
class NameIndex final {
 public:
  NameIndex() = default;
  NameIndex(const NameIndex&) = delete;
  NameIndex& operator=(const NameIndex&) = delete;

  std::size_t size() const { return size_; }

  // Makes room for `count` names in all, so that entering them moves no slot.
  void Reserve(std::size_t count) {
    const std::size_t slots = SlotsFor(count);
    if (slots > slots_.size()) Rehash(slots);
    entries_.reserve((count + kChunk - 1) / kChunk);
  }

  // The value of `name`, or null.
  Value* Find(std::string_view name) {
    const std::size_t slot = FindSlot(name, Hash{}(name));
    return slot == kNone ? nullptr : &EntryOf(slots_[slot]).value;
  }
  const Value* Find(std::string_view name) const {
    const std::size_t slot = FindSlot(name, Hash{}(name));
    return slot == kNone ? nullptr : &EntryOf(slots_[slot]).value;
  }

  // The value of `name`, entered first with `value` when the name is new; true when it was.
  std::pair<Value*, bool> TryEmplace(std::string_view name, Value value = Value{}) {
    const std::size_t hash = Hash{}(name);
    if (const std::size_t slot = FindSlot(name, hash); slot != kNone) {
      return {&EntryOf(slots_[slot]).value, false};
    }
    if (SlotsFor(size_ + 1) > slots_.size()) Rehash(SlotsFor(size_ + 1));
    const auto number = static_cast<std::uint32_t>(EntryCount());
    Entry& entry = NewEntry();
    entry.name = KeepName(name);
    entry.hash = hash;
    entry.value = std::move(value);
    Place(Slot{TagOf(hash), number + 1}, hash);
    ++size_;
    return {&entry.value, true};
  }

  // Removes `name`; false when it was not there.
  bool Erase(std::string_view name) {
    const std::size_t slot = FindSlot(name, Hash{}(name));
    if (slot == kNone) return false;
    Entry& entry = EntryOf(slots_[slot]);
    entry.live = false;
    entry.value = Value{};  // an erased value keeps no memory of its own
    CloseGap(slot);
    --size_;
    return true;
  }

  // Calls `visit(std::string_view name, Value&)` for every name, in the order they were entered.
  template <typename Visit>
  void ForEach(Visit&& visit) {
    ForEachLive(*this, visit);
  }
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    ForEachLive(*this, visit);
  }

 private:
  struct Entry {
    std::string_view name;
    std::size_t hash = 0;
    Value value{};
    bool live = true;
  };
  // `entry` is the entry's number + 1; 0 marks a free slot. `tag` is the hash folded to 32 bits.
  struct Slot {
    std::uint32_t tag = 0;
    std::uint32_t entry = 0;
  };
  static constexpr std::size_t kChunk = 1024;  // entries per block of memory; blocks never move
  static constexpr std::size_t kNone = ~std::size_t{0};

  // ForEach of a NameIndex or a const one.
  template <typename Self, typename Visit>
  static void ForEachLive(Self& self, Visit& visit) {
    for (auto& chunk : self.entries_) {
      for (auto& entry : chunk) {
        if (entry.live) visit(entry.name, entry.value);
      }
    }
  }

  static std::uint32_t TagOf(std::size_t hash) {
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
  }
  // The slot where the run of a hash starts: the top bits of its product with 2^64 divided by the
  // golden ratio, which every bit of the hash reaches. Hashes that differ only in a few bits (as
  // the case-insensitive hash of names that differ in their last letter does) still spread.
  std::size_t HomeOf(std::size_t hash) const {
    return static_cast<std::size_t>((std::uint64_t{hash} * 0x9E3779B97F4A7C15ull) >> home_shift_);
  }
  // Slots for `count` names, at most three quarters full: a power of two, at least 16.
  static std::size_t SlotsFor(std::size_t count) {
    return std::bit_ceil(std::max<std::size_t>(16, count + count / 3 + 1));
  }
  std::size_t Mask() const { return slots_.size() - 1; }

  Entry& EntryOf(Slot slot) {
    const std::size_t number = slot.entry - 1;
    return entries_[number / kChunk][number % kChunk];
  }
  const Entry& EntryOf(Slot slot) const {
    const std::size_t number = slot.entry - 1;
    return entries_[number / kChunk][number % kChunk];
  }

  std::size_t FindSlot(std::string_view name, std::size_t hash) const {
    if (slots_.empty()) return kNone;
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t i = HomeOf(hash);; i = (i + 1) & Mask()) {
      const Slot slot = slots_[i];
      if (slot.entry == 0) return kNone;
      if (slot.tag == tag && Equal{}(EntryOf(slot).name, name)) return i;
    }
  }

  // Puts `slot`, of a name hashed to `hash`, in the first free slot from its home on; there is one.
  void Place(Slot slot, std::size_t hash) {
    std::size_t i = HomeOf(hash);
    while (slots_[i].entry != 0) i = (i + 1) & Mask();
    slots_[i] = slot;
  }

  // Frees slot `hole`, moving back each later slot of the run that may take a slot before it, so
  // that every name stays reachable from its home without a marker for erased slots.
  void CloseGap(std::size_t hole) {
    for (std::size_t next = (hole + 1) & Mask(); slots_[next].entry != 0;
         next = (next + 1) & Mask()) {
      const std::size_t home = HomeOf(EntryOf(slots_[next]).hash);
      // The slot at `next` may move to the hole when the hole lies from its home up to it.
      if (((next - home) & Mask()) >= ((next - hole) & Mask())) {
        slots_[hole] = slots_[next];
        hole = next;
      }
    }
    slots_[hole] = Slot{};
  }

  void Rehash(std::size_t slot_count) {
    slots_.assign(slot_count, Slot{});
    home_shift_ = 64 - std::countr_zero(slot_count);
    std::uint32_t number = 0;
    for (const std::vector<Entry>& chunk : entries_) {
      for (const Entry& entry : chunk) {
        ++number;
        if (entry.live) Place(Slot{TagOf(entry.hash), number}, entry.hash);
      }
    }
  }

  // Entries made so far, erased ones included: every block but the last is full.
  std::size_t EntryCount() const {
    return entries_.empty() ? 0 : (entries_.size() - 1) * kChunk + entries_.back().size();
  }

  Entry& NewEntry() {
    if (entries_.empty() || entries_.back().size() == kChunk) {
      entries_.emplace_back().reserve(kChunk);
    }
    return entries_.back().emplace_back();
  }

  std::string_view KeepName(std::string_view name) {
    if (name.empty()) return {};
    if (names_ == nullptr) names_ = std::make_unique<std::pmr::monotonic_buffer_resource>();
    char* kept = static_cast<char*>(names_->allocate(name.size(), 1));
    std::memcpy(kept, name.data(), name.size());
    return {kept, name.size()};
  }

  std::vector<Slot> slots_;  // a power of two of them, or none
  int home_shift_ = 64;      // 64 - log2 of the slots; used only while there are slots
  std::vector<std::vector<Entry>> entries_;  // entry n is entries_[n / kChunk][n % kChunk]
  std::size_t size_ = 0;
  std::unique_ptr<std::pmr::monotonic_buffer_resource> names_;
};

}  // namespace quellor
