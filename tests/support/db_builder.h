// The exact file bytes of database records, to be concatenated into a
// user.dat, squad.dat or score.dat. The bytes the program does not interpret
// are 0xA5, so that a decoder reading the wrong offset shows up.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

namespace tallyhawk::testing {

struct RecordField {
  size_t offset;
  uint32_t value;
  int width = 4;  // bytes, least significant first
};

// A record with `name` at offset 4: up to 31 bytes get their terminator, 32
// or more fill the field with the first 32. The name goes first, so that a
// record without one (a score row) has its fields over the terminator.
inline std::string MakeRecord(size_t size, std::string_view name,
                              std::initializer_list<RecordField> fields) {
  std::string bytes(size, static_cast<char>(0xA5));
  name = name.substr(0, 32);
  bytes.replace(4, name.size(), name);
  if (name.size() < 32) bytes[4 + name.size()] = '\0';
  for (const RecordField& field : fields) {
    for (int i = 0; i < field.width; ++i)
      bytes[field.offset + i] = static_cast<char>(field.value >> (8 * i));
  }
  return bytes;
}

// One 196-byte user.dat record.
inline std::string MakeUser(uint32_t user_id, std::string_view name,
                            uint32_t squad_id = 0, uint32_t last_seen = 0,
                            uint32_t created = 0) {
  return MakeRecord(
      196, name,
      {{0, user_id}, {164, squad_id}, {184, last_seen}, {188, created}});
}

// One 72-byte squad.dat record.
inline std::string MakeSquad(uint32_t squad_id, std::string_view name) {
  return MakeRecord(72, name, {{0, squad_id}});
}

// One 28-byte score.dat record.
inline std::string MakeScore(uint32_t entry_id, uint32_t score_id,
                             uint32_t user_id, uint16_t wins = 0,
                             uint16_t losses = 0, uint32_t kill_points = 0,
                             uint32_t flag_points = 0) {
  return MakeRecord(28, "",
                    {{0, entry_id},
                     {4, score_id},
                     {8, user_id},
                     {14, wins, 2},
                     {16, losses, 2},
                     {20, kill_points},
                     {24, flag_points}});
}

// The databases of a small zone by file name: pilots Ace and Bo of squad Red,
// with a row each of score ID 7.
inline std::map<std::string, std::string> SmallZone() {
  return {{"user.dat", MakeUser(1, "Ace", 10) + MakeUser(2, "Bo", 10)},
          {"squad.dat", MakeSquad(10, "Red")},
          {"score.dat", MakeScore(1, 7, 1, 60, 40, 500, 100) +
                            MakeScore(2, 7, 2, 70, 0, 300, 0)}};
}

// The databases of a zone of `count` score IDs (3, 4, 5 ...): nine pilots
// in three squads, each with a row in every score ID, no two alike.
inline std::map<std::string, std::string> ZoneOfScoreIds(uint32_t count) {
  std::map<std::string, std::string> files;
  for (uint32_t user = 1; user <= 9; ++user) {
    files["user.dat"] +=
        MakeUser(user, "P" + std::to_string(user), 10 * (user % 3 + 1));
  }
  files["squad.dat"] =
      MakeSquad(10, "Red") + MakeSquad(20, "Blue") + MakeSquad(30, "Gold");
  uint32_t entry = 0;
  for (uint32_t user = 1; user <= 9; ++user) {
    for (uint32_t score_id = 3; score_id < 3 + count; ++score_id) {
      ++entry;
      files["score.dat"] +=
          MakeScore(entry, score_id, user, static_cast<uint16_t>(50 + entry),
                    static_cast<uint16_t>(entry % 4), 100 * entry, 7 * entry);
    }
  }
  return files;
}

}  // namespace tallyhawk::testing
