#include "db/records.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/db_builder.h"

namespace tallyhawk {
namespace {

using namespace testing;

const unsigned char* Bytes(const std::string& bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

// Every byte of every number differs, so a wrong offset or byte order shows.
// Names are raw bytes up to the terminator, at most 31 of them.
TEST(RecordsTest, FieldsComeFromTheirLittleEndianOffsets) {
  const UserRecord u = DecodeUserRecord(Bytes(MakeUser(
      0x01020304, std::string(32, 'x'), 0xA1B2C3D4, 0xB1B2B3B4, 0xC1C2C3C4)));
  EXPECT_EQ(std::tuple(u.UserID, u.SquadID, u.LastSeen, u.Created),
            std::tuple(0x01020304u, 0xA1B2C3D4u, 0xB1B2B3B4u, 0xC1C2C3C4u));
  EXPECT_EQ(u.Name.view(), std::string(31, 'x'));
  const std::string odd = "A&B <\"C\" \xE9\xDF\xFF";
  const SquadRecord q = DecodeSquadRecord(Bytes(MakeSquad(0xF1F2F3F4, odd)));
  EXPECT_EQ(std::tuple(q.SquadID, q.Name.view()), std::tuple(0xF1F2F3F4u, odd));
  const ScoreRecord s = DecodeScoreRecord(
      Bytes(MakeScore(0x11121314, 0x21222324, 0x31323334, 0x4142, 0x5152,
                      0x61626364, 0x71727374)));
  EXPECT_EQ(std::tuple(s.EntryID, s.ScoreID, s.UserID, s.Wins, s.Losses,
                       s.KillPoints, s.FlagPoints),
            std::tuple(0x11121314u, 0x21222324u, 0x31323334u, uint16_t{0x4142},
                       uint16_t{0x5152}, 0x61626364u, 0x71727374u));
}

}  // namespace
}  // namespace tallyhawk
