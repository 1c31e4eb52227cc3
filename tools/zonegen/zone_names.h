// Made-up pilot and squad names: mostly plain handles, some with spaces, some
// exactly 31 characters long (the longest a name field holds), and a few with
// characters that need escaping in HTML or that are Latin-1 bytes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <unordered_set>

#include "zone_random.h"

namespace zonegen {

constexpr size_t kMaxNameLength = 31;

inline constexpr std::array<std::string_view, 40> kWords = {
    "Ace",    "Viper",  "Nova",   "Ghost", "Raven",   "Blaze",   "Frost",
    "Jinx",   "Zero",   "Havoc",  "Echo",  "Comet",   "Rogue",   "Vortex",
    "Pixel",  "Talon",  "Onyx",   "Drift", "Sable",   "Kestrel", "Wraith",
    "Cobalt", "Nyx",    "Quasar", "Rift",  "Specter", "Tempest", "Umbra",
    "Vex",    "Warden", "Zephyr", "Flux",  "Orbit",   "Pulsar",  "Scorch",
    "Lynx",   "Mako",   "Ion",    "Shard", "Hex"};

inline constexpr std::array<std::string_view, 16> kAdjectives = {
    "Iron",   "Black",  "Silent", "Crimson", "Lost",  "Wild", "Dark",  "Red",
    "Frozen", "Golden", "Hollow", "Rapid",   "Lucky", "Grim", "Stray", "Void"};

inline constexpr std::array<std::string_view, 12> kTeams = {
    "Wolves", "Hawks",  "Raiders", "Pilots", "Knights", "Reapers",
    "Owls",   "Comets", "Lancers", "Vipers", "Rangers", "Outlaws"};

// Names with &, <, ", or Latin-1 bytes (é ö ü Å ç ñ ø ß).
inline constexpr std::array<std::string_view, 12> kPilotOddities = {
    "Tom & Jerry",
    "<3 Kitty",
    "\"Ace\" Rimmer",
    "Jos\xE9",
    "Bj\xF6rn",
    "M\xFCller",
    "\xC5sa",
    "Fran\xE7ois",
    "Pe\xF1"
    "a",
    "S\xF8ren",
    "Stra\xDF"
    "e",
    "a<b&c"};

inline constexpr std::array<std::string_view, 6> kSquadOddities = {
    "Salt & Pepper", "<Unnamed>",      "\"The\" Squad",
    "Los Ni\xF1os",  "Caf\xE9 Racers", "R&D"};

template <size_t N>
std::string_view Pick(Random& random,
                      const std::array<std::string_view, N>& items) {
  return items[random.Below(N)];
}

// Word after word (with or without spaces) until the field is full.
inline std::string FullLengthName(Random& random, bool spaces) {
  std::string name;
  while (name.size() < kMaxNameLength) {
    if (spaces && !name.empty()) name += ' ';
    name += Pick(random, kWords);
  }
  name.resize(kMaxNameLength);
  return name;
}

inline std::string PilotName(Random& random) {
  const uint64_t kind = random.Below(1000);
  if (kind < 10) return std::string(Pick(random, kPilotOddities));
  if (kind < 50) return FullLengthName(random, kind < 30);
  if (kind < 60)
    return std::string(1, static_cast<char>('A' + random.Below(26)));
  std::string name(Pick(random, kWords));
  if (kind < 300) return name.append(std::to_string(random.Below(1000)));
  if (kind < 500) {
    return std::string(Pick(random, kAdjectives)).append(" ").append(name);
  }
  if (kind < 600) return "xX" + name + "Xx";
  if (kind < 750) return name.append("_").append(Pick(random, kWords));
  return name;
}

inline std::string SquadName(Random& random) {
  const uint64_t kind = random.Below(100);
  if (kind < 6) return std::string(Pick(random, kSquadOddities));
  if (kind < 12) return FullLengthName(random, true);
  if (kind < 25) {
    std::string tag = "[";
    for (int i = 0; i < 3; ++i)
      tag += static_cast<char>('A' + random.Below(26));
    return tag + "]";
  }
  if (kind < 55) {
    return "The " + std::string(Pick(random, kAdjectives)) + " " +
           std::string(Pick(random, kTeams));
  }
  if (kind < 75) return "Team " + std::string(Pick(random, kWords));
  return std::string(Pick(random, kWords)) + std::string(Pick(random, kTeams));
}

// Makes each name unique; a repeated name gets a number at its end.
class NameBook {
 public:
  std::string Unique(std::string name) {
    std::string candidate = name;
    while (!used_.insert(candidate).second) {
      const std::string number = std::to_string(++counter_);
      candidate = name.substr(0, kMaxNameLength - number.size()) + number;
    }
    return candidate;
  }

 private:
  std::unordered_set<std::string> used_;
  uint64_t counter_ = 0;
};

}  // namespace zonegen
