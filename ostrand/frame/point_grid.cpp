#include "ostrand/frame/point_grid.h"

namespace ostrand {

void PointGrid::File(int32_t number, double x, double z) {
  if (number < 0 || static_cast<size_t>(number) < next_.size()) return;  // not ascending
  next_.resize(static_cast<size_t>(number) + 1, -1);
  Slot& slot = Take(Key(Cell(x), Cell(z)));
  if (slot.last >= 0) {
    next_[static_cast<size_t>(slot.last)] = number;
  } else {
    slot.first = number;
  }
  slot.last = number;
  order_.push_back(number);
}

PointGrid::Slot& PointGrid::Take(uint64_t key) {
  if (2 * (used_ + 1) > slots_.size()) {
    std::vector<Slot> old(slots_.empty() ? 32 : 2 * slots_.size());
    old.swap(slots_);
    for (const Slot& s : old) {
      if (s.first < 0) continue;
      size_t i = Home(s.key);
      while (slots_[i].first >= 0) i = (i + 1) & (slots_.size() - 1);
      slots_[i] = s;
    }
  }
  size_t i = Home(key);
  while (slots_[i].first >= 0 && slots_[i].key != key) i = (i + 1) & (slots_.size() - 1);
  Slot& slot = slots_[i];
  if (slot.first < 0) {
    slot.key = key;
    ++used_;
  }
  return slot;
}

void PointGrid::Clear() {
  if (order_.empty()) return;
  for (Slot& s : slots_) s = Slot();
  used_ = 0;
  next_.clear();
  order_.clear();
}

}  // namespace ostrand
