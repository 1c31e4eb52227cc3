// The input of a fuzz target that needs several files: their bytes joined by
// a marker line, so that the seed files stay readable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace tallyhawk::fuzz {

constexpr std::string_view kMarker = "\n@@@@\n";

// The first `count` parts of `data`; missing parts are empty.
inline std::vector<std::string> SplitInput(const uint8_t* data, size_t size,
                                           size_t count) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts;
  while (parts.size() + 1 < count) {
    const size_t marker = rest.find(kMarker);
    if (marker == std::string_view::npos) break;
    parts.emplace_back(rest.substr(0, marker));
    rest.remove_prefix(marker + kMarker.size());
  }
  parts.emplace_back(rest);
  parts.resize(count);
  return parts;
}

// Ends the process as a finding when an expected property does not hold.
inline void Require(bool holds) {
  if (!holds) std::abort();
}

}  // namespace tallyhawk::fuzz
