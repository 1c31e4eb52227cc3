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
  static NameField FromField(const unsigned char* field);
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

// Each takes exactly one record's bytes (the sizes above).
UserRecord DecodeUserRecord(const unsigned char* bytes);
SquadRecord DecodeSquadRecord(const unsigned char* bytes);
ScoreRecord DecodeScoreRecord(const unsigned char* bytes);

}  // namespace tallyhawk
