// Builds the exact file bytes of database records for tests. Concatenate the
// results to make a user.dat, squad.dat or score.dat.
//
// The areas the program does not interpret, and the bytes after a name's
// terminator, are filled with 0xA5 so that a decoder reading the wrong offset
// shows up.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tallyhawk::testing {

namespace db_builder_detail {

struct Field {
  size_t offset;
  uint32_t value;
  int width = 4;  // bytes, least significant first
};

// A name of up to 31 bytes gets its terminator; 32 bytes or more fill the
// whole field (no terminator) with the first 32. The name goes first, so that
// a record without one (a score row) has its fields over the terminator.
inline std::string Record(size_t size, std::string_view name,
                          std::initializer_list<Field> fields) {
  std::string bytes(size, static_cast<char>(0xA5));
  name = name.substr(0, 32);
  bytes.replace(4, name.size(), name);
  if (name.size() < 32) bytes[4 + name.size()] = '\0';
  for (const Field& field : fields) {
    for (int i = 0; i < field.width; ++i)
      bytes[field.offset + i] = static_cast<char>(field.value >> (8 * i));
  }
  return bytes;
}

}  // namespace db_builder_detail

// One 196-byte user.dat record.
inline std::string MakeUser(uint32_t user_id, std::string_view name,
                            uint32_t squad_id = 0, uint32_t last_seen = 0,
                            uint32_t created = 0) {
  return db_builder_detail::Record(
      196, name,
      {{0, user_id}, {164, squad_id}, {184, last_seen}, {188, created}});
}

// One 72-byte squad.dat record.
inline std::string MakeSquad(uint32_t squad_id, std::string_view name) {
  return db_builder_detail::Record(72, name, {{0, squad_id}});
}

// One 28-byte score.dat record.
inline std::string MakeScore(uint32_t entry_id, uint32_t score_id,
                             uint32_t user_id, uint16_t wins = 0,
                             uint16_t losses = 0, uint32_t kill_points = 0,
                             uint32_t flag_points = 0) {
  using db_builder_detail::Record;
  return Record(28, "", {{0, entry_id}, {4, score_id}, {8, user_id},
                         {14, wins, 2}, {16, losses, 2}, {20, kill_points},
                         {24, flag_points}});
}

}  // namespace tallyhawk::testing
