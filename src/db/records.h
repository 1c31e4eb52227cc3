// The three kinds of database record and their decoding from file bytes.
// The files are plain sequences of fixed-size little-endian records.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tallyhawk {

constexpr size_t kUserRecordSize = 196;
constexpr size_t kSquadRecordSize = 72;
constexpr size_t kScoreRecordSize = 28;

// A 32-byte name field: the text up to its first NUL, at most 31 bytes.
class NameField {
 public:
  NameField() { bytes_.fill('\0'); }
  // Copies the text of a 32-byte file field.
  static NameField FromField(const unsigned char* field) {
    NameField name;
    // At most 31 bytes: a field without a terminator is cut there.
    for (size_t i = 0; i < 31 && field[i] != 0; ++i) {
      name.bytes_[i] = static_cast<char>(field[i]);
    }
    return name;
  }
  static NameField FromText(std::string_view text);
  std::string_view view() const;

 private:
  std::array<char, 32> bytes_;
};

struct UserRecord {
  uint32_t UserID = 0;
  NameField Name;
  uint32_t SquadID = 0;
  uint32_t Created = 0;
  uint32_t LastSeen = 0;
};

struct SquadRecord {
  uint32_t SquadID = 0;
  NameField Name;
};

struct ScoreRecord {
  uint32_t EntryID = 0;
  uint32_t ScoreID = 0;
  uint32_t UserID = 0;
  uint16_t Wins = 0;
  uint16_t Losses = 0;
  uint32_t KillPoints = 0;
  uint32_t FlagPoints = 0;
};

inline uint32_t DecodeU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline uint16_t DecodeU16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Each takes exactly one record's bytes (the sizes above). Defined here so
// that the loader's walk over millions of records inlines them.
inline UserRecord DecodeUserRecord(const unsigned char* bytes) {
  UserRecord user;
  user.UserID = DecodeU32(bytes);
  user.Name = NameField::FromField(bytes + 4);
  user.SquadID = DecodeU32(bytes + 164);
  user.LastSeen = DecodeU32(bytes + 184);
  user.Created = DecodeU32(bytes + 188);
  return user;
}

inline SquadRecord DecodeSquadRecord(const unsigned char* bytes) {
  SquadRecord squad;
  squad.SquadID = DecodeU32(bytes);
  squad.Name = NameField::FromField(bytes + 4);
  return squad;
}

inline ScoreRecord DecodeScoreRecord(const unsigned char* bytes) {
  ScoreRecord score;
  score.EntryID = DecodeU32(bytes);
  score.ScoreID = DecodeU32(bytes + 4);
  score.UserID = DecodeU32(bytes + 8);
  score.Wins = DecodeU16(bytes + 14);
  score.Losses = DecodeU16(bytes + 16);
  score.KillPoints = DecodeU32(bytes + 20);
  score.FlagPoints = DecodeU32(bytes + 24);
  return score;
}

}  // namespace tallyhawk
