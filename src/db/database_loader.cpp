// LoadDatabases: the three database files into their tables, with the
// loading messages, progress dots and counts.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "db/databases.h"
#include "db/prefault_window.h"
#include "db/record_reader.h"
#include "util/fatal_error.h"

namespace tallyhawk {
namespace {

// The messages of one database file.
struct DatabaseTexts {
  const char* failure;
  const char* open_failure;  // in the words of standard error
  const char* read_failure;
  const char* loading;
  uint64_t dot_interval;
  const char* count_word;
};

constexpr DatabaseTexts kUserTexts{"Failed to open user database, exiting",
                                   "cannot open the user database",
                                   "cannot read the user database",
                                   "Loading users .",
                                   1000,
                                   " users"};
constexpr DatabaseTexts kSquadTexts{"Failed to open squad database, exiting",
                                    "cannot open the squad database",
                                    "cannot read the squad database",
                                    "Loading squads .",
                                    100,
                                    " squads"};
constexpr DatabaseTexts kScoreTexts{"Failed to open score database, exiting",
                                    "cannot open the score database",
                                    "cannot read the score database",
                                    "Loading scores .",
                                    100,
                                    " scores"};

// How many records a file of `size` bytes holds; bounded, so that
// a huge file is still read record by record rather than prepared for.
size_t ExpectedRecords(uint64_t size, size_t record_size) {
  constexpr uint64_t kMostExpected = uint64_t{1} << 26;
  return static_cast<size_t>(std::min(size / record_size, kMostExpected));
}

// Loads one file: `reserve` learns how many records to expect, `store` gets
// the complete records, a block of them at a time in file order, and counts
// them; a partial record at the end is dropped. `prepare`, when given, works
// on each block before `store` gets it, on the same thread, and possibly
// while another block is stored; `idle`, when given, is what a thread does
// while it waits for its turn to store. Then `finish` completes the table.
template <typename Reserve, typename Store, typename Finish>
void LoadFile(Platform& platform, StatusOutput& status, const std::string& path,
              const DatabaseTexts& texts, size_t record_size, Reserve reserve,
              Store store, Finish finish,
              RecordReader::Prepare prepare = nullptr,
              RecordReader::Idle idle = nullptr) {
  std::unique_ptr<InputFile> file = platform.OpenInput(path);
  if (!file) throw FileError(texts.failure, path, texts.open_failure);
  // The size when opened: what is read, and what a partial record is of.
  const uint64_t size = file->SizeHint();
  reserve(ExpectedRecords(size, record_size));
  status.PrintStatus(texts.loading);
  RecordReader reader(*file, record_size, std::move(prepare), std::move(idle));
  uint64_t count = 0;
  // The blocks come one at a time, on either of the reader's threads.
  reader.Run([&](const RecordReader::Records& records) {
    const uint64_t dots_before = count / texts.dot_interval;
    store(records);
    count += records.bytes.size() / record_size;
    // A dot for every dot_interval records; those of a block go out
    // together, as one message.
    const uint64_t dots = count / texts.dot_interval - dots_before;
    if (dots > 0) status.PrintStatus(std::string(dots, '.'));
  });
  // A read error would leave records out: the file counts as unreadable.
  if (file->Failed()) {
    throw FatalError(texts.failure, Diagnostic{path, 0, texts.read_failure,
                                               file->FailureReason()});
  }
  finish();
  status.PrintStatus(" Done\n");
  status.line() << "Read " << count << texts.count_word << "\n";
  status.PrintStatusLine();
  // A file cut mid-record (or no database at all) is read to its last
  // whole record; the admin is told.
  const std::string partial = PartialRecordText(size, record_size);
  if (!partial.empty()) status.Warn({path, 0, partial, ""});
}

// How far ahead of the records stored the memory of those to come is
// readied: four blocks' worth, so that a thread waiting for its turn has
// steps to take whenever the other's block is stored.
constexpr size_t ReadyAheadBytes(size_t record_size, size_t stored_size) {
  constexpr size_t kBlocksAhead = 4;
  return kBlocksAhead * (RecordReader::kMostBlockBytes / record_size) *
         stored_size;
}

}  // namespace

std::string PartialRecordText(uint64_t size, size_t record_size) {
  const uint64_t left_out = size % record_size;
  if (left_out == 0) return "";
  return "the size is not a whole number of " + std::to_string(record_size) +
         "-byte records: the last " + std::to_string(left_out) +
         " bytes are left out";
}

void LoadPilotTables(Platform& platform, StatusOutput& status,
                     const GeneralSettings& general, Databases& databases) {
  UserTableType& users = databases.UserTable;
  SquadTableType& squads = databases.SquadTable;
  // The table's fresh memory, which either thread faults in ahead of the
  // users while it would wait.
  std::optional<PrefaultWindow> fresh_users;
  LoadFile(
      platform, status, general.DatUser, kUserTexts, kUserRecordSize,
      [&](size_t expected) {
        users.Reserve(expected);
        fresh_users.emplace(
            users.Room(), ReadyAheadBytes(kUserRecordSize, sizeof(UserRecord)));
      },
      [&](const RecordReader::Records& records) {
        for (size_t at = 0; at < records.bytes.size(); at += kUserRecordSize) {
          const UserRecord user = DecodeUserRecord(records.bytes.data() + at);
          users.Store(user, user.UserID);
        }
        fresh_users->Filled(users.StoredRecords() * sizeof(UserRecord));
      },
      [&] { users.Finish(); }, nullptr, [&] { return fresh_users->Step(); });
  LoadFile(
      platform, status, general.DatSquad, kSquadTexts, kSquadRecordSize,
      [&](size_t expected) { squads.Reserve(expected); },
      [&](const RecordReader::Records& records) {
        for (size_t at = 0; at < records.bytes.size(); at += kSquadRecordSize) {
          const SquadRecord squad =
              DecodeSquadRecord(records.bytes.data() + at);
          squads.Store(squad, squad.SquadID);
        }
      },
      [&] { squads.Finish(); });
}

void LoadScoreTable(Platform& platform, StatusOutput& status,
                    const GeneralSettings& general, Databases& databases) {
  const UserTableType& users = databases.UserTable;
  ScoreTableType& scores = databases.ScoreTable;
  // The rows' fresh memory, which either thread faults in ahead of them
  // while it would wait.
  std::optional<PrefaultWindow> fresh_rows;
  std::vector<uint32_t> found_users[RecordReader::kThreads];
  LoadFile(
      platform, status, general.DatScore, kScoreTexts, kScoreRecordSize,
      [&](size_t expected) {
        scores.Reserve(expected);
        fresh_rows.emplace(scores.Room(),
                           ReadyAheadBytes(kScoreRecordSize, sizeof(ScoreRow)));
      },
      [&](const RecordReader::Records& records) {
        scores.StoreRecords(records.bytes, users, found_users[records.thread]);
        fresh_rows->Filled(scores.StoredRows() * sizeof(ScoreRow));
      },
      [&] { scores.Finish(users); },
      // Finding each row's user takes random reads of the user table: each
      // thread does it for its block while the rows before are stored.
      [&](const RecordReader::Records& records) {
        FindScoreUsers(records.bytes, users, found_users[records.thread]);
      },
      [&] { return fresh_rows->Step(); });
}

void LoadDatabases(Platform& platform, StatusOutput& status,
                   const GeneralSettings& general, Databases& databases) {
  LoadPilotTables(platform, status, general, databases);
  LoadScoreTable(platform, status, general, databases);
}

}  // namespace tallyhawk
