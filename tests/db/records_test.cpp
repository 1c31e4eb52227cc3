#include "db/records.h"

#include <gtest/gtest.h>

#include <string>

#include "support/db_builder.h"

namespace tallyhawk {
namespace {

using testing::MakeScore;
using testing::MakeSquad;
using testing::MakeUser;

const unsigned char* Bytes(const std::string& bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

TEST(RecordsTest, FieldsComeFromTheirLittleEndianOffsets) {
  const std::string user_bytes =
      MakeUser(0x01020304, "Ann", 0xA1B2C3D4, 1700000000, 1600000000);
  const UserRecord user = DecodeUserRecord(Bytes(user_bytes));
  EXPECT_EQ(user.UserID, 0x01020304u);
  EXPECT_EQ(user.Name.view(), "Ann");
  EXPECT_EQ(user.SquadID, 0xA1B2C3D4u);
  EXPECT_EQ(user.LastSeen, 1700000000u);  // stored before Created
  EXPECT_EQ(user.Created, 1600000000u);

  const std::string squad_bytes = MakeSquad(4294967295u, "Night Owls");
  const SquadRecord squad = DecodeSquadRecord(Bytes(squad_bytes));
  EXPECT_EQ(squad.SquadID, 4294967295u);
  EXPECT_EQ(squad.Name.view(), "Night Owls");

  const std::string score_bytes =
      MakeScore(17, 0x00FF00FF, 99, 65535, 0x1234, 4294967295u, 70000);
  const ScoreRecord score = DecodeScoreRecord(Bytes(score_bytes));
  EXPECT_EQ(score.EntryID, 17u);
  EXPECT_EQ(score.ScoreID, 0x00FF00FFu);
  EXPECT_EQ(score.UserID, 99u);
  EXPECT_EQ(score.Wins, 65535);
  EXPECT_EQ(score.Losses, 0x1234);
  EXPECT_EQ(score.KillPoints, 4294967295u);
  EXPECT_EQ(score.FlagPoints, 70000u);
}

TEST(RecordsTest, NamesAreRawBytesUpToTheTerminatorAndAtMost31) {
  const std::string odd = "A&B <\"C\" \xE9\xDF\xFF";
  EXPECT_EQ(DecodeSquadRecord(Bytes(MakeSquad(1, odd))).Name.view(), odd);
  EXPECT_EQ(DecodeSquadRecord(Bytes(MakeSquad(1, ""))).Name.view(), "");
  const std::string full(32, 'x');  // no terminator in the field
  EXPECT_EQ(DecodeUserRecord(Bytes(MakeUser(1, full))).Name.view(),
            std::string(31, 'x'));
}

}  // namespace
}  // namespace tallyhawk
