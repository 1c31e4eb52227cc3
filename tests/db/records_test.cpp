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

TEST(RecordsTest, UserFieldsComeFromTheirOffsets) {
  const std::string bytes =
      MakeUser(0x01020304, "Ann", 0xA1B2C3D4, 1700000000, 1600000000);
  const UserRecord user = DecodeUserRecord(Bytes(bytes));
  EXPECT_EQ(user.UserID, 0x01020304u);
  EXPECT_EQ(user.Name.view(), "Ann");
  EXPECT_EQ(user.SquadID, 0xA1B2C3D4u);
  EXPECT_EQ(user.LastSeen, 1700000000u);  // stored before Created in the file
  EXPECT_EQ(user.Created, 1600000000u);
}

TEST(RecordsTest, SquadFieldsComeFromTheirOffsetsAndSumsStartAtZero) {
  const std::string bytes = MakeSquad(4294967295u, "Night Owls");
  const SquadRecord squad = DecodeSquadRecord(Bytes(bytes));
  EXPECT_EQ(squad.SquadID, 4294967295u);
  EXPECT_EQ(squad.Name.view(), "Night Owls");
  EXPECT_EQ(squad.Members, 0u);
  EXPECT_EQ(squad.Wins, 0u);
  EXPECT_EQ(squad.Losses, 0u);
  EXPECT_EQ(squad.KillPoints, 0.0);
  EXPECT_EQ(squad.FlagPoints, 0.0);
}

TEST(RecordsTest, ScoreFieldsComeFromTheirOffsets) {
  const std::string bytes =
      MakeScore(17, 0x00FF00FF, 99, 65535, 0x1234, 4294967295u, 70000);
  const ScoreRecord score = DecodeScoreRecord(Bytes(bytes));
  EXPECT_EQ(score.EntryID, 17u);
  EXPECT_EQ(score.ScoreID, 0x00FF00FFu);
  EXPECT_EQ(score.UserID, 99u);
  EXPECT_EQ(score.Wins, 65535);
  EXPECT_EQ(score.Losses, 0x1234);
  EXPECT_EQ(score.KillPoints, 4294967295u);
  EXPECT_EQ(score.FlagPoints, 70000u);
}

TEST(RecordsTest, NameFillingTheWholeFieldKeepsItsFirst31Bytes) {
  const std::string full(32, 'x');
  const std::string bytes = MakeUser(1, full);
  EXPECT_EQ(DecodeUserRecord(Bytes(bytes)).Name.view(), std::string(31, 'x'));
}

TEST(RecordsTest, NameBytesAreTakenUnchangedUpToTheTerminator) {
  const std::string name = "A&B <\"C\" \xE9\xDF\xFF";
  const std::string bytes = MakeSquad(1, name);  // filler after the NUL
  EXPECT_EQ(DecodeSquadRecord(Bytes(bytes)).Name.view(), name);
  const std::string empty = MakeSquad(1, "");
  EXPECT_EQ(DecodeSquadRecord(Bytes(empty)).Name.view(), "");
}

TEST(RecordsTest, NameFromTextStopsAt31BytesOrANul) {
  EXPECT_EQ(NameField::FromText(std::string(40, 'n')).view(),
            std::string(31, 'n'));
  EXPECT_EQ(NameField::FromText(std::string("ab\0cd", 5)).view(), "ab");
}

}  // namespace
}  // namespace tallyhawk
