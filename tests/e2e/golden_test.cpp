// Whole runs over one small hand-made zone in several configurations. Every
// file the run writes, and its console, are compared byte for byte with the
// files under tests/e2e/golden/<case>/. After a deliberate change of output,
// run with TALLYHAWK_UPDATE_GOLDEN=1 to rewrite them, and read the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>

#include "support/db_builder.h"
#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kDay = 86400;

// Pilots and a squad whose names hold every kind of byte that JSON must
// escape: quotes, backslashes, control bytes, Latin-1, markup.
const std::string kHardUsers =
    MakeUser(11, "Quote\"Back\\slash</script>", 40) +
    MakeUser(12, "\x01\t\n\r\x1b\x1f\x7f\x80\x85\x9f\xa0\xe9\xff end", 40) +
    MakeUser(13, "&amp;<!--'-->");
const std::string kHardSquads = MakeSquad(40, "Crew\"\\\n\xe9\xff");
const std::string kHardScores = MakeScore(11, 7, 11, 70, 0, 700, 5) +
                                MakeScore(12, 7, 12, 55, 20, 301, 0) +
                                MakeScore(13, 9, 13, 51, 3, 1, 2);

// Six pilots, three squads, score IDs 7 and 9. Names that need escaping in
// HTML, a pilot whose squad does not exist, a squad without members, a row of
// a user who is gone, times around the 30-day window before `now`.
void WriteTinyZone(const TempDir& dir, uint32_t now, bool hard_names) {
  dir.Write(
      "user.dat",
      MakeUser(1, "Ace", 10, now - 1000, now - 400 * kDay) +
          MakeUser(2, "<script>", 10, now - 30 * kDay, now - 30 * kDay) +
          MakeUser(3, "Bo & \"Co\"", 20, now - 31 * kDay, now - 300 * kDay) +
          MakeUser(4, "Lone", 999) +
          MakeUser(5, "NoScore", 10, 4294967295u, now - 10 * kDay) +
          MakeUser(6, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde", 20, now, now) +
          (hard_names ? kHardUsers : ""));
  dir.Write("squad.dat", MakeSquad(10, "Red<Team>") + MakeSquad(20, "Blue") +
                             MakeSquad(30, "Empty") +
                             (hard_names ? kHardSquads : ""));
  dir.Write("score.dat", MakeScore(1, 7, 1, 60, 40, 500, 100) +
                             MakeScore(2, 7, 2, 60, 0, 300, 0) +
                             MakeScore(3, 7, 3, 49, 10, 1000, 50) +
                             MakeScore(4, 7, 4, 100, 1, 200, 0) +
                             MakeScore(5, 9, 1, 5, 5, 10, 10) +
                             MakeScore(6, 7, 99, 10, 10, 10, 10) +
                             MakeScore(7, 7, 6, 50, 50, 0, 0) +
                             (hard_names ? kHardScores : ""));
}

struct GoldenCase {
  std::string name;
  std::string settings;  // empty: the run writes the template
  std::string zone_map;  // empty: the run writes the template
  bool hard_names = false;
  // The case whose files this run must write, byte for byte; empty: its own.
  std::string same_as = {};
};

void PrintTo(const GoldenCase& golden, std::ostream* out) {
  *out << golden.name;
}

const GoldenCase kCases[] = {
    {"defaults", "", ""},
    {"all_outputs",
     "[General]\nTopX=3\n[Squad]\nMinMembers=2\n"
     "[Output]\nText=1\nHTML=1\nHTMLGroup=1\n",
     ""},
    {"subdirs_and_style",
     "[Squad]\nMinMembers=2\n[Output]\nText=1\nHTML=1\nUseSubDir=1\n"
     "Directory=out\nStyleSheet=style.css?a=\"1\"&b=<2>\n",
     "7:Arena & <Co>\n"},
    {"partial_lists_no_footer",
     "[General]\nMinKills=0\n[User]\nDoTotalPoints=0\nDoWins=0\nDoRating=0\n"
     "[Squad]\nMinMembers=1\nDoMembers=0\nDoAvgPoints=0\n"
     "[Usage]\nDoAllSquads=0\nDoActivePlayers=0\nDoNewPlayers=0\n"
     "[Output]\nFooter=0\nText=1\n",
     ""},
    {"single_score_id_without_rows",
     "[General]\nScoreID=5\n[Usage]\nLastDays=0\n[Output]\nText=1\nHTML=1\n",
     ""},
    // New players alone still show where the window starts.
    {"new_players_without_active", "[Usage]\nDoActivePlayers=0\nLastDays=400\n",
     ""},
    {"json_hard_names",
     "[Squad]\nMinMembers=1\n[Output]\nText=1\nHTML=1\nJSON=1\n", "", true},
    {"json_subdirs", "[General]\nTopX=2\n[Output]\nUseSubDir=1\nJSON=1\n",
     "7:Arena 7\n"},
    // The site off: not a byte differs from the run without [Site].
    {"site_off",
     "[General]\nTopX=3\n[Squad]\nMinMembers=2\n"
     "[Output]\nText=1\nHTML=1\nHTMLGroup=1\n[Site]\nEnabled=0\nTitle=x\n",
     "", false, "all_outputs"},
    // Names of every kind of byte, a Latin-1 title and a zone map name.
    {"site",
     "[General]\nTopX=3\n[Squad]\nMinMembers=1\n"
     "[Output]\nText=1\nHTML=1\nHTMLGroup=1\nStyleSheet=site.css\n"
     "[Site]\nEnabled=1\nTitle=Tiny \xe9 & <Zone>\n",
     "7:Arena & Co\n", true},
    // Grouped pages alone, in subdirectories: lists link to their sections.
    {"site_subdirs",
     "[General]\nTopX=2\n[Output]\nUseSubDir=1\nStyleSheet=/site.css\n"
     "[Usage]\nDoActivePlayers=0\nDoNewPlayers=0\n[Site]\nEnabled=1\n",
     "7:Arena 7\n"},
};

class GoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTest, EveryByteMatches) {
  const GoldenCase& golden = GetParam();
  TempDir dir;
  std::set<std::string> inputs = {"user.dat", "squad.dat", "score.dat"};
  if (!golden.settings.empty()) inputs.insert("tallyhawk.ini");
  if (!golden.zone_map.empty()) inputs.insert("zoneinfo.txt");
  RunResult run = RunTallyhawkAt(dir, [&](long long now) {
    WriteTinyZone(dir, static_cast<uint32_t>(now), golden.hard_names);
    if (!golden.settings.empty()) dir.Write("tallyhawk.ini", golden.settings);
    if (!golden.zone_map.empty()) dir.Write("zoneinfo.txt", golden.zone_map);
    if (golden.settings.find("Directory=out") != std::string::npos)
      dir.MakeDirectory("out");
  });
  const std::string golden_dir =
      std::string(TESTS_SOURCE_DIR) + "/e2e/golden/" +
      (golden.same_as.empty() ? golden.name : golden.same_as);
  std::map<std::string, std::string> expected = ReadTree(golden_dir);

  // A platform that forbids the subdirectory's name ends the run where the
  // subdirectories are made, and the run up to there is the golden one.
  const std::string zone_name =
      golden.zone_map.substr(golden.zone_map.find(':') + 1);
  if (zone_name.find_first_of(kForbiddenInNames) != std::string::npos) {
    const std::string console = Masked(PosixPaths(run.console));
    const std::string error =
        "ERROR: Unspecified error creating subdirectory\n"
        "*** Error occurred, exiting.  (Logged to error file)\n";
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(console, Masked(expected["console.txt"])
                               .substr(0, console.size() - error.size()) +
                           error);
    return;
  }
  ASSERT_EQ(run.exit_code, 0) << run.console;

  std::map<std::string, std::string> actual;
  for (auto& [relative, bytes] : dir.Files()) {
    if (!inputs.count(relative)) actual["files/" + relative] = bytes;
  }
  EXPECT_EQ(actual["files/tallyhawk.log"], CrLf(run.console));
  actual.erase("files/tallyhawk.log");
  actual["console.txt"] = run.console;
  // Standard error holds only the warnings the settings call for.
  if (!run.errors.empty()) {
    std::string errors = run.errors;
    for (size_t at = errors.find(dir.path()); at != std::string::npos;
         at = errors.find(dir.path())) {
      errors.replace(at, dir.path().size(), "<dir>");
    }
    actual["errors.txt"] = errors;
  }

  if (std::getenv("TALLYHAWK_UPDATE_GOLDEN") && golden.same_as.empty()) {
    fs::remove_all(golden_dir);
    for (const auto& [relative, bytes] : actual)
      WriteFile(golden_dir + "/" + relative, bytes);
    return;
  }
  // Both sides are mapped: a backslash in a name then matches as well.
  for (const auto& [relative, bytes] : actual)
    expected.try_emplace(relative, "<not expected>");
  for (const auto& [relative, bytes] : expected) {
    actual.try_emplace(relative, "<missing>");
    EXPECT_EQ(Masked(PosixPaths(actual[relative])), Masked(PosixPaths(bytes)))
        << "in " << relative;
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, GoldenTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tallyhawk::testing
