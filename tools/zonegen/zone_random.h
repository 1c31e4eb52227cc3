// The generator's own random numbers: splitmix64, so that a seed gives the
// same zone with every compiler and standard library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zonegen {

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // 0 .. bound - 1 (0 when bound is 0). The modulo bias is far too small to
  // matter for sample data.
  uint64_t Below(uint64_t bound) { return bound == 0 ? 0 : Next() % bound; }

  // True with a chance of `per_mille` in a thousand.
  bool Chance(uint64_t per_mille) { return Below(1000) < per_mille; }

  // A heavy-tailed count below 2^max_bits: the bit length is the smaller of
  // two uniform draws, so small values are common and huge ones rare but
  // present.
  uint64_t HeavyTail(int max_bits) {
    const uint64_t bits = std::min(Below(max_bits + 1), Below(max_bits + 1));
    return Below(uint64_t{1} << bits);
  }

  template <typename T>
  void Shuffle(std::vector<T>& items) {
    for (size_t i = items.size(); i > 1; --i) {
      std::swap(items[i - 1], items[Below(i)]);
    }
  }

 private:
  uint64_t state_;
};

}  // namespace zonegen
