// PointHash: filing and growing.
#include "ostrand/frame/point_hash.h"

namespace ostrand {

void PointHash::File(int32_t x, int32_t z, int32_t number) {
  if (2 * (used_ + 1) > slots_.size()) {
    std::vector<Slot> old(slots_.empty() ? 64 : 2 * slots_.size());
    old.swap(slots_);
    for (const Slot& s : old) {
      if (s.number < 0) continue;
      size_t i = Home(s.key);
      while (slots_[i].number >= 0) i = (i + 1) & (slots_.size() - 1);
      slots_[i] = s;
    }
  }
  const uint64_t key = Key(x, z);
  size_t i = Home(key);
  while (slots_[i].number >= 0) i = (i + 1) & (slots_.size() - 1);
  slots_[i] = Slot{key, number};
  ++used_;
}

}  // namespace ostrand
