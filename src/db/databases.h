// The three loaded databases.
#pragma once

#include <cstddef>
#include <cstdint>
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
