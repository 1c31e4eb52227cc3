// zonegen: writes user.dat, squad.dat and score.dat of a made-up but
// believable zone, the same bytes for the same seed and options.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/platform.h"
#include "record_bytes.h"
#include "zone_names.h"
#include "zone_random.h"

namespace zonegen {
namespace {

using tallyhawk::Platform;

constexpr uint32_t kDay = 86400;
constexpr uint32_t kTwoYears = 730 * kDay;

const char kUsage[] =
    "Usage: zonegen [options]\n"
    "Writes user.dat, squad.dat and score.dat of a made-up zone.\n"
    "  --users N       users (default 2000)\n"
    "  --squads N      squads (default 60)\n"
    "  --scores N      score rows (default: three for every five users per\n"
    "                  score ID)\n"
    "  --score-ids N   distinct score IDs (default 3)\n"
    "  --seed N        random seed (default 1)\n"
    "  --now SECONDS   the current time, as seconds since 1970 (default: the\n"
    "                  clock); times are spread over the two years before it\n"
    "  --scatter       IDs scattered over the whole 32-bit range instead of\n"
    "                  dense; the last score row and the last score ID are\n"
    "                  4294967295\n"
    "  --out DIR       output directory, created if missing (default .)\n"
    "  --help          this text\n"
    "Options take their value as the next argument or after '='. The same\n"
    "options, with --now given, always write the same bytes.\n";

struct Options {
  uint64_t users = 2000;
  uint64_t squads = 60;
  uint64_t scores = 0;  // 0: derived from users and score IDs
  uint64_t score_ids = 3;
  uint64_t seed = 1;
  int64_t now = -1;  // -1: the clock
  bool scatter = false;
  std::string out = ".";
};

// How far apart the IDs of a table lie: 0 for dense IDs, else the mean gap
// of scattered ones, which keeps `count` of them below 0.9 * 2^32.
uint64_t Spread(bool scatter, uint64_t count) {
  if (!scatter) return 0;
  return std::max<uint64_t>(1, 1932735283 / std::max<uint64_t>(count, 1));
}

// Squad IDs and how many users each draws: a few big squads, many small.
struct Squads {
  std::vector<uint32_t> ids;
  std::vector<uint32_t> gone_ids;  // deleted squads that users still name
  std::vector<uint64_t> cumulative_weight;
};

// IDs run upwards from 1 with a gap now and then, where records were deleted;
// scattered ones (a `spread` above 0) with a gap of up to twice it each.
uint32_t NextId(Random& random, uint32_t previous, uint64_t spread = 0) {
  if (spread > 0) {
    return previous + 1 + static_cast<uint32_t>(random.Below(2 * spread));
  }
  return previous + 1 + (random.Chance(30) ? 1 + random.Below(4) : 0);
}

// How many IDs were deleted after `id`, `next` being the one that followed:
// the gap between them, or for a scattered gap, far too wide to list, as
// many of its first IDs as a dense gap would have.
uint32_t GoneIds(Random& random, uint32_t id, uint32_t next) {
  const uint32_t gap = next - id - 1;
  if (gap <= 4) return gap;
  return random.Chance(30) ? std::min<uint32_t>(gap, 1 + random.Below(4)) : 0;
}

Squads WriteSquads(Random& random, uint64_t count, bool scatter,
                   BufferedFile& file) {
  Squads squads;
  NameBook names;
  uint32_t id = 0;
  const uint64_t spread = Spread(scatter, count);
  for (uint64_t i = 0; i < count; ++i) {
    const uint32_t next = NextId(random, id, spread);
    for (uint32_t gone = id + 1; gone < id + 1 + GoneIds(random, id, next);
         ++gone) {
      squads.gone_ids.push_back(gone);
    }
    id = next;
    RecordBytes<72> record;
    record.U32(0, id);
    record.Name(4, names.Unique(SquadName(random)), "");
    record.AppendTo(file);
    squads.ids.push_back(id);
  }
  squads.gone_ids.push_back(id + 1);
  // The k-th most popular squad draws in proportion to 1/((k+1)(k+20)):
  // like 1/k for the big ones, falling off faster in the long tail.
  std::vector<uint32_t> rank(squads.ids.size());
  for (size_t k = 0; k < rank.size(); ++k) rank[k] = static_cast<uint32_t>(k);
  random.Shuffle(rank);
  uint64_t total = 0;
  for (uint32_t k : rank) {
    total += 20000000000ull / ((uint64_t{k} + 1) * (uint64_t{k} + 20));
    squads.cumulative_weight.push_back(total);
  }
  return squads;
}

uint32_t PickSquad(Random& random, const Squads& squads) {
  if (squads.ids.empty() || random.Chance(100)) return 0;  // no squad
  if (random.Chance(20)) {
    return squads.gone_ids[random.Below(squads.gone_ids.size())];
  }
  const uint64_t point = random.Below(squads.cumulative_weight.back());
  const auto it = std::upper_bound(squads.cumulative_weight.begin(),
                                   squads.cumulative_weight.end(), point);
  return squads.ids[static_cast<size_t>(it - squads.cumulative_weight.begin())];
}

// Writes the users; returns the user IDs that score rows may belong to, in
// ascending order: users who played, and some users who are gone since.
std::vector<uint32_t> WriteUsers(Random& random, uint64_t count, uint32_t now,
                                 bool scatter, const Squads& squads,
                                 BufferedFile& file) {
  std::vector<uint32_t> players;
  NameBook names;
  uint32_t id = 0;
  const uint64_t spread = Spread(scatter, count);
  for (uint64_t i = 0; i < count; ++i) {
    const uint32_t next = NextId(random, id, spread);
    for (uint32_t gone = id + 1; gone < id + 1 + GoneIds(random, id, next);
         ++gone) {
      if (random.Chance(300)) players.push_back(gone);
    }
    id = next;
    const uint32_t created =
        now -
        static_cast<uint32_t>(random.Below(std::min(now, kTwoYears) + 1ull));
    // Recent visits are more likely than old ones.
    const uint64_t away = (uint64_t{now} - created) * random.Below(1001) *
                          random.Below(1001) / 1000000;
    RecordBytes<196> record;
    record.U32(0, id);
    const std::string name = names.Unique(PilotName(random));
    record.Name(4, name, random.Chance(50) ? PilotName(random) : "");
    record.U32(164, PickSquad(random, squads));
    record.U32(184, now - away);
    record.U32(188, created);
    record.AppendTo(file);
    if (!random.Chance(70)) players.push_back(id);
  }
  for (uint64_t extra = count / 200 + 2; extra > 0; --extra) {
    players.push_back(id += 1 + static_cast<uint32_t>(random.Below(3)));
  }
  return players;
}

std::vector<uint32_t> MakeScoreIds(Random& random, uint64_t count,
                                   bool scatter) {
  std::vector<uint32_t> ids;
  uint32_t id = 1 + static_cast<uint32_t>(random.Below(3));
  const uint64_t spread = Spread(scatter, count);
  for (uint64_t i = 0; i < count; ++i) {
    ids.push_back(scatter && i + 1 == count ? UINT32_MAX : id);
    id = spread > 0 ? NextId(random, id, spread)
                    : id + 1 + static_cast<uint32_t>(random.Below(4));
  }
  return ids;
}

// How many rows each score ID gets: the first is the busiest zone.
std::vector<uint64_t> RowQuotas(uint64_t rows, size_t score_ids) {
  std::vector<uint64_t> quotas(score_ids);
  uint64_t weights = 0;
  for (size_t s = 0; s < score_ids; ++s) weights += 1000000 / (s + 2);
  uint64_t given = 0;
  for (size_t s = 0; s < score_ids; ++s) {
    quotas[s] = static_cast<uint64_t>(static_cast<double>(rows) *
                                      static_cast<double>(1000000 / (s + 2)) /
                                      static_cast<double>(weights));
    given += quotas[s];
  }
  if (!quotas.empty()) quotas[0] += rows - std::min(rows, given);
  return quotas;
}

void WriteScoreRow(Random& random, uint32_t entry_id, uint32_t score_id,
                   uint32_t user_id, BufferedFile& file) {
  const uint64_t wins = random.HeavyTail(16);
  const uint64_t losses = std::min<uint64_t>(
      65535, wins * (40 + random.Below(160)) / 100 + random.Below(8));
  const uint64_t kill_points = wins * (8 + random.Below(30)) + random.Below(50);
  const uint64_t flag_points =
      random.Chance(500) ? 0 : random.HeavyTail(22) * 10;
  RecordBytes<28> record;
  record.U32(0, entry_id);
  record.U32(4, score_id);
  record.U32(8, user_id);
  record.U16(14, wins);
  record.U16(16, losses);
  record.U32(20, kill_points);
  record.U32(24, flag_points);
  record.AppendTo(file);
}

// Writes exactly `rows` score rows. Each score ID picks its players from
// `players` by selection sampling, so a player has at most one row per score
// ID (unless more rows are asked for than there are players), and the rows
// of one player lie together, as a server that appends them would write.
uint64_t WriteScores(Random& random, uint64_t rows, bool scatter,
                     const std::vector<uint32_t>& score_ids,
                     const std::vector<uint32_t>& players, BufferedFile& file) {
  if (players.empty() || score_ids.empty()) return 0;
  const uint64_t pool = players.size();
  std::vector<uint64_t> full(score_ids.size());
  std::vector<uint64_t> needed = RowQuotas(rows, score_ids.size());
  for (size_t s = 0; s < needed.size(); ++s) {
    full[s] = needed[s] / pool;
    needed[s] %= pool;
  }
  uint32_t entry_id = 0;
  uint64_t written = 0;
  const uint64_t spread = Spread(scatter, rows);
  for (size_t p = 0; p < players.size(); ++p) {
    const uint64_t left = pool - p;
    for (size_t s = 0; s < score_ids.size(); ++s) {
      uint64_t count = full[s];
      if (needed[s] > 0 && random.Below(left) < needed[s]) {
        --needed[s];
        ++count;
      }
      for (; count > 0; --count, ++written) {
        entry_id = NextId(random, entry_id, spread);
        if (scatter && written + 1 == rows) entry_id = UINT32_MAX;
        WriteScoreRow(random, entry_id, score_ids[s], players[p], file);
      }
    }
  }
  return written;
}

bool ParseNumber(std::string_view text, uint64_t limit, uint64_t* value) {
  if (text.empty() || text.size() > 19) return false;
  uint64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + static_cast<uint64_t>(c - '0');
  }
  if (result > limit) return false;
  *value = result;
  return true;
}

// Fills `options` from the arguments; false (after a message) when they are
// not understood.
bool ParseOptions(int argc, char** argv, Options* options, bool* help) {
  constexpr uint64_t kMaxCount = 1000000000;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help") {
      *help = true;
      return true;
    }
    if (arg == "--scatter") {
      options->scatter = true;
      continue;
    }
    std::string_view value;
    if (const size_t eq = arg.find('='); eq != std::string_view::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
    } else if (i + 1 < argc) {
      value = argv[++i];
    }
    uint64_t number = 0;
    bool ok = true;
    if (arg == "--out") {
      ok = !value.empty();
      options->out = value;
    } else if (arg == "--now") {
      ok = ParseNumber(value, UINT32_MAX, &number);
      options->now = static_cast<int64_t>(number);
    } else if (arg == "--seed") {
      ok = ParseNumber(value, UINT64_MAX, &options->seed);
    } else if (arg == "--users") {
      ok = ParseNumber(value, kMaxCount, &options->users);
    } else if (arg == "--squads") {
      ok = ParseNumber(value, kMaxCount, &options->squads);
    } else if (arg == "--scores") {
      ok = ParseNumber(value, kMaxCount, &options->scores);
    } else if (arg == "--score-ids") {
      ok = ParseNumber(value, 1000000, &options->score_ids);
    } else {
      std::fprintf(stderr, "zonegen: unknown option '%s' (see --help)\n",
                   argv[i]);
      return false;
    }
    if (!ok) {
      std::fprintf(stderr, "zonegen: bad value for %.*s (see --help)\n",
                   static_cast<int>(arg.size()), arg.data());
      return false;
    }
  }
  return true;
}

std::string JoinPath(const std::string& directory, const char* name) {
  const char separator = tallyhawk::PathSeparator();
  if (!directory.empty() && directory.back() == separator) {
    return directory + name;
  }
  return directory + separator + name;
}

std::unique_ptr<BufferedFile> OpenOutput(Platform& platform,
                                         const std::string& path) {
  std::unique_ptr<OutputFile> file = platform.CreateAtomicFile(path);
  if (!file) {
    std::fprintf(stderr, "zonegen: cannot create %s\n", path.c_str());
    return nullptr;
  }
  return std::make_unique<BufferedFile>(std::move(file));
}

int Generate(const Options& options, Platform& platform) {
  if (platform.CreateDirectory(options.out) !=
      tallyhawk::DirectoryResult::kCreatedOrExists) {
    std::fprintf(stderr, "zonegen: cannot create directory %s\n",
                 options.out.c_str());
    return 1;
  }
  auto squad_file = OpenOutput(platform, JoinPath(options.out, "squad.dat"));
  auto user_file = OpenOutput(platform, JoinPath(options.out, "user.dat"));
  auto score_file = OpenOutput(platform, JoinPath(options.out, "score.dat"));
  if (!squad_file || !user_file || !score_file) return 1;

  const int64_t clock = options.now >= 0 ? options.now : platform.Now();
  const uint32_t now =
      static_cast<uint32_t>(std::clamp<int64_t>(clock, 0, UINT32_MAX));
  const uint64_t rows = options.scores != 0
                            ? options.scores
                            : options.users * options.score_ids * 3 / 5;
  Random random(options.seed);
  const bool scatter = options.scatter;
  const Squads squads =
      WriteSquads(random, options.squads, scatter, *squad_file);
  const std::vector<uint32_t> players =
      WriteUsers(random, options.users, now, scatter, squads, *user_file);
  const std::vector<uint32_t> score_ids =
      MakeScoreIds(random, options.score_ids, scatter);
  const uint64_t written =
      WriteScores(random, rows, scatter, score_ids, players, *score_file);
  if (!squad_file->Commit() || !user_file->Commit() || !score_file->Commit()) {
    std::fprintf(stderr, "zonegen: cannot write to %s\n", options.out.c_str());
    return 1;
  }
  std::printf(
      "zonegen: %llu users, %llu squads, %llu score rows of %llu score IDs in "
      "%s\n",
      static_cast<unsigned long long>(options.users),
      static_cast<unsigned long long>(options.squads),
      static_cast<unsigned long long>(written),
      static_cast<unsigned long long>(score_ids.size()), options.out.c_str());
  return 0;
}

}  // namespace
}  // namespace zonegen

int main(int argc, char** argv) {
  zonegen::Options options;
  bool help = false;
  if (!zonegen::ParseOptions(argc, argv, &options, &help)) return 2;
  if (help) {
    std::fputs(zonegen::kUsage, stdout);
    return 0;
  }
  std::unique_ptr<tallyhawk::Platform> platform =
      tallyhawk::MakeSystemPlatform();
  return zonegen::Generate(options, *platform);
}
