// LoadDatabases: the three database files into their tables, with the
// loading messages, progress dots and counts.
#include <cstdint>
#include <memory>
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

uint32_t KeyOf(const UserRecord& user) { return user.UserID; }
uint32_t KeyOf(const SquadRecord& squad) { return squad.SquadID; }
uint32_t KeyOf(const ScoreRecord& score) { return score.EntryID; }

// Loads one file into `table`: every complete record is stored under its key
// and counted, a partial record at the end is dropped.
template <typename Record, typename Decode>
void LoadTable(Platform& platform, StatusOutput& status,
               const std::string& path, const DatabaseTexts& texts,
               size_t record_size, Decode decode, IdTable<Record>& table) {
  std::unique_ptr<InputFile> file = platform.OpenInput(path);
  if (!file) throw FatalError(texts.failure);
  status.PrintStatus(texts.loading);
  RecordReader reader(*file, record_size);
  uint64_t count = 0;
  while (const unsigned char* bytes = reader.Next()) {
    const Record record = decode(bytes);
    table.Store(record, KeyOf(record));
    ++count;
    if (count % texts.dot_interval == 0) status.Dot();
  }
  // A read error would leave records out: the file counts as unreadable.
  if (file->Failed()) throw FatalError(texts.failure);
  table.Finish();
  status.PrintStatus(" Done\n");
  status.line() << "Read " << count << texts.count_word << "\n";
  status.PrintStatusLine();
}

}  // namespace

void LoadDatabases(Platform& platform, StatusOutput& status,
                   const GeneralSettings& general, Databases& databases) {
  LoadTable(platform, status, general.DatUser, kUserTexts, kUserRecordSize,
            DecodeUserRecord, databases.UserTable);
  LoadTable(platform, status, general.DatSquad, kSquadTexts, kSquadRecordSize,
            DecodeSquadRecord, databases.SquadTable);
  LoadTable(platform, status, general.DatScore, kScoreTexts, kScoreRecordSize,
            DecodeScoreRecord, databases.ScoreTable);
  databases.ScoreRows.Build(databases.ScoreTable, databases.UserTable,
                            databases.SquadTable);
}

}  // namespace tallyhawk
