// LoadDatabases: the three database files into their tables, with the
// loading messages, progress dots and counts.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "db/databases.h"
#include "db/record_reader.h"
#include "util/fatal_error.h"

namespace tallyhawk {
namespace {

// The messages of one database file.
struct DatabaseTexts {
  const char* failure;
  const char* loading;
  uint64_t dot_interval;
  const char* count_word;
};

constexpr DatabaseTexts kUserTexts{"Failed to open user database, exiting",
                                   "Loading users .", 1000, " users"};
constexpr DatabaseTexts kSquadTexts{"Failed to open squad database, exiting",
                                    "Loading squads .", 100, " squads"};
constexpr DatabaseTexts kScoreTexts{"Failed to open score database, exiting",
                                    "Loading scores .", 100, " scores"};

// How many records `file` holds, as far as its size tells; bounded, so that
// a huge file is still read record by record rather than prepared for.
size_t ExpectedRecords(InputFile& file, size_t record_size) {
  constexpr uint64_t kMostExpected = uint64_t{1} << 26;
  return static_cast<size_t>(
      std::min(file.SizeHint() / record_size, kMostExpected));
}

// Loads one file: `prepare` learns how many records to expect, `store` gets
// the complete records, a block of them at a time, and counts them; a
// partial record at the end is dropped. Then `finish` completes the table.
template <typename Prepare, typename Store, typename Finish>
void LoadFile(Platform& platform, StatusOutput& status, const std::string& path,
              const DatabaseTexts& texts, size_t record_size, Prepare prepare,
              Store store, Finish finish) {
  std::unique_ptr<InputFile> file = platform.OpenInput(path);
  if (!file) throw FatalError(texts.failure);
  prepare(ExpectedRecords(*file, record_size));
  status.PrintStatus(texts.loading);
  RecordReader reader(*file, record_size);
  uint64_t count = 0;
  for (auto records = reader.NextRecords(); !records.empty();
       records = reader.NextRecords()) {
    const uint64_t dots_before = count / texts.dot_interval;
    store(records);
    count += records.size() / record_size;
    // A dot for every dot_interval records; those of a block go out
    // together, as one message.
    const uint64_t dots = count / texts.dot_interval - dots_before;
    if (dots > 0) status.PrintStatus(std::string(dots, '.'));
  }
  // A read error would leave records out: the file counts as unreadable.
  if (file->Failed()) throw FatalError(texts.failure);
  finish();
  status.PrintStatus(" Done\n");
  status.line() << "Read " << count << texts.count_word << "\n";
  status.PrintStatusLine();
}

}  // namespace

void LoadDatabases(Platform& platform, StatusOutput& status,
                   const GeneralSettings& general, Databases& databases) {
  UserTableType& users = databases.UserTable;
  SquadTableType& squads = databases.SquadTable;
  ScoreTableType& scores = databases.ScoreTable;
  LoadFile(
      platform, status, general.DatUser, kUserTexts, kUserRecordSize,
      [&](size_t expected) { users.Reserve(expected); },
      [&](std::span<const unsigned char> records) {
        for (size_t at = 0; at < records.size(); at += kUserRecordSize) {
          const UserRecord user = DecodeUserRecord(records.data() + at);
          users.Store(user, user.UserID);
        }
      },
      [&] { users.Finish(); });
  LoadFile(
      platform, status, general.DatSquad, kSquadTexts, kSquadRecordSize,
      [&](size_t expected) { squads.Reserve(expected); },
      [&](std::span<const unsigned char> records) {
        for (size_t at = 0; at < records.size(); at += kSquadRecordSize) {
          const SquadRecord squad = DecodeSquadRecord(records.data() + at);
          squads.Store(squad, squad.SquadID);
        }
      },
      [&] { squads.Finish(); });
  LoadFile(
      platform, status, general.DatScore, kScoreTexts, kScoreRecordSize,
      [](size_t) {},  // the rows go to blocks that never move
      [&](std::span<const unsigned char> records) {
        scores.StoreRecords(records, users);
      },
      [&] { scores.Finish(users); });
}

}  // namespace tallyhawk
