// The three loaded databases.
#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <string>

#include "config/settings.h"
#include "db/id_table.h"
#include "db/records.h"
#include "db/score_table.h"
#include "platform/platform.h"
#include "util/status_output.h"

namespace tallyhawk {

using SquadTableType = IdTable<SquadRecord>;
using ScoreTableType = ScoreRowTable;

struct Databases {
  UserTableType UserTable;
  SquadTableType SquadTable;
  // Stores its rows with their users resolved, so it is loaded last.
  ScoreTableType ScoreTable;
};

// How work over the user table that another thread may take is launched
// (std::async): on a thread of its own, where one can start, only for a
// table large enough to pay for it. Starting and joining a thread takes
// about 50 us on the shared 2-core machine (median of 200); counting squad
// membership takes 2 ns a user, the usage figures' walk 0.7 to 1.4 ns. At
// 100,000 users a thread takes 200 us of membership off the load of
// score.dat, or half the walk (35 to 70 us); below, it saves little or
// costs more than it saves. Under AddressSanitizer a thread costs about
// 2 ms: the two held the whole-run fuzzer to 190 inputs a second, against
// 650 without.
inline std::launch UserWorkLaunch(const UserTableType& users) {
  constexpr size_t kUsersWorthAThread = 100000;
  return users.size() < kUsersWorthAThread
             ? std::launch::deferred
             : std::launch::async | std::launch::deferred;
}

// What a database of `size` bytes leaves out after its last whole record,
// in words for the admin; empty when its size is a whole number of records.
std::string PartialRecordText(uint64_t size, size_t record_size);

// Reads user.dat, squad.dat and score.dat (as the settings name them) into
// the tables of `databases`, made ready before, with their console messages.
void LoadDatabases(Platform& platform, StatusOutput& status,
                   const GeneralSettings& general, Databases& databases);

// The two steps of LoadDatabases, for a caller with work of its own that
// needs only the users and squads: user.dat and squad.dat, then score.dat,
// whose rows find their users in the user table.
void LoadPilotTables(Platform& platform, StatusOutput& status,
                     const GeneralSettings& general, Databases& databases);
void LoadScoreTable(Platform& platform, StatusOutput& status,
                    const GeneralSettings& general, Databases& databases);

}  // namespace tallyhawk
