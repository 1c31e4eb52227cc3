// A zone in memory for the micro benchmarks, laid out as a server writes
// one: every pilot has a row in most score IDs, a pilot's rows lie
// together, EntryIDs ascend; wins are heavy-tailed, so the per-kill lists
// take a fraction of the rows. Loaded through the real loader.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "db/databases.h"
#include "support/db_builder.h"
#include "support/fake_platform.h"

namespace tallyhawk::bench {

struct NoDots : ProgressSink {
  void Dot() override {}
};

struct ZoneShape {
  uint32_t users = 200000;
  uint32_t squads = 8000;
  uint32_t score_ids = 5;
  // IDs spread over the whole 32-bit range instead of dense.
  bool scattered = false;
};

// The three files of a zone, by name, on an in-memory platform.
inline testing::FakePlatform MakeZoneFiles(const ZoneShape& shape) {
  std::mt19937_64 random(1);
  const uint64_t gap = shape.scattered ? 4000 : 1;
  std::string users, squads, scores;
  for (uint32_t s = 1; s <= shape.squads; ++s) {
    squads += testing::MakeSquad(s * gap, "Squad " + std::to_string(s));
  }
  uint32_t entry = 0;
  for (uint32_t u = 1; u <= shape.users; ++u) {
    const uint32_t squad = static_cast<uint32_t>(random() % (shape.squads + 1));
    users += testing::MakeUser(u * gap, "Pilot " + std::to_string(u),
                               squad * gap, 1796000000, 1790000000);
    for (uint32_t score_id = 1; score_id <= shape.score_ids; ++score_id) {
      if (random() % 10 == 0) continue;
      const uint16_t wins =
          static_cast<uint16_t>(random() % (1u << (random() % 12)));
      const uint16_t losses = static_cast<uint16_t>(wins * (random() % 3) / 2);
      entry += static_cast<uint32_t>(1 + random() % (gap == 1 ? 2 : 800));
      scores += testing::MakeScore(
          entry, score_id * static_cast<uint32_t>(gap), u * gap, wins, losses,
          static_cast<uint32_t>(wins * (8 + random() % 30)),
          static_cast<uint32_t>(random() % 5000));
    }
  }
  testing::FakePlatform platform;
  platform.files = {{"user.dat", std::move(users)},
                    {"squad.dat", std::move(squads)},
                    {"score.dat", std::move(scores)}};
  return platform;
}

// Loads the files of `platform` into `db`.
inline void LoadZone(testing::FakePlatform& platform, Databases& db) {
  StatusOutput quiet(platform, true, true);
  db.UserTable.MakeReady();
  db.SquadTable.MakeReady();
  db.ScoreTable.MakeReady();
  LoadDatabases(platform, quiet, GeneralSettings{}, db);
}

// A loaded zone, made once per shape.
struct LoadedZone {
  explicit LoadedZone(const ZoneShape& shape) : platform(MakeZoneFiles(shape)) {
    LoadZone(platform, db);
  }
  testing::FakePlatform platform;
  Databases db;
};

}  // namespace tallyhawk::bench
