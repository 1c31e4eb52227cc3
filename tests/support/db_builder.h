// Builds the exact file bytes of database records for tests. Concatenate the
// results to make a user.dat, squad.dat or score.dat.
//
// The areas the program does not interpret, and the bytes after a name's
// terminator, are filled with 0xA5 so that a decoder reading the wrong offset
// shows up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tallyhawk::testing {

namespace db_builder_detail {

constexpr char kFiller = static_cast<char>(0xA5);

// The low `width` bytes of `value`, least significant first.
inline void Put(std::string& bytes, size_t offset, uint32_t value,
                int width = 4) {
  for (int i = 0; i < width; ++i) {
    bytes[offset + i] = static_cast<char>(value >> (8 * i));
  }
}

// A name of up to 31 bytes gets its terminator; 32 bytes or more fill the
// whole field (no terminator) with the first 32.
inline void PutName(std::string& bytes, size_t offset, std::string_view name) {
  name = name.substr(0, 32);
  bytes.replace(offset, name.size(), name);
  if (name.size() < 32) bytes[offset + name.size()] = '\0';
}

}  // namespace db_builder_detail

// One 196-byte user.dat record.
inline std::string MakeUser(uint32_t user_id, std::string_view name,
                            uint32_t squad_id = 0, uint32_t last_seen = 0,
                            uint32_t created = 0) {
  using namespace db_builder_detail;
  std::string bytes(196, kFiller);
  Put(bytes, 0, user_id);
  PutName(bytes, 4, name);
  Put(bytes, 164, squad_id);
  Put(bytes, 184, last_seen);
  Put(bytes, 188, created);
  return bytes;
}

// One 72-byte squad.dat record.
inline std::string MakeSquad(uint32_t squad_id, std::string_view name) {
  using namespace db_builder_detail;
  std::string bytes(72, kFiller);
  Put(bytes, 0, squad_id);
  PutName(bytes, 4, name);
  return bytes;
}

// One 28-byte score.dat record.
inline std::string MakeScore(uint32_t entry_id, uint32_t score_id,
                             uint32_t user_id, uint16_t wins = 0,
                             uint16_t losses = 0, uint32_t kill_points = 0,
                             uint32_t flag_points = 0) {
  using namespace db_builder_detail;
  std::string bytes(28, kFiller);
  Put(bytes, 0, entry_id);
  Put(bytes, 4, score_id);
  Put(bytes, 8, user_id);
  Put(bytes, 14, wins, 2);
  Put(bytes, 16, losses, 2);
  Put(bytes, 20, kill_points);
  Put(bytes, 24, flag_points);
  return bytes;
}

}  // namespace tallyhawk::testing
