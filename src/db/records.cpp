#include "db/records.h"

#include <algorithm>
#include <cstring>

namespace tallyhawk {
namespace {

uint32_t DecodeU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t DecodeU16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

NameField NameField::FromField(const unsigned char* field) {
  NameField name;
  // At most 31 bytes: a field without a terminator is cut there.
  for (size_t i = 0; i < 31 && field[i] != 0; ++i) {
    name.bytes_[i] = static_cast<char>(field[i]);
  }
  return name;
}

NameField NameField::FromText(std::string_view text) {
  NameField name;
  size_t length = std::min<size_t>(31, text.size());
  for (size_t i = 0; i < length && text[i] != '\0'; ++i)
    name.bytes_[i] = text[i];
  return name;
}

std::string_view NameField::view() const {
  return std::string_view(bytes_.data(), std::strlen(bytes_.data()));
}

UserRecord DecodeUserRecord(const unsigned char* bytes) {
  UserRecord user;
  user.UserID = DecodeU32(bytes);
  user.Name = NameField::FromField(bytes + 4);
  user.SquadID = DecodeU32(bytes + 164);
  user.LastSeen = DecodeU32(bytes + 184);
  user.Created = DecodeU32(bytes + 188);
  return user;
}

SquadRecord DecodeSquadRecord(const unsigned char* bytes) {
  SquadRecord squad;
  squad.SquadID = DecodeU32(bytes);
  squad.Name = NameField::FromField(bytes + 4);
  return squad;
}

ScoreRecord DecodeScoreRecord(const unsigned char* bytes) {
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
