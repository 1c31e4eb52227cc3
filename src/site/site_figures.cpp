#include "site/site_figures.h"

namespace tallyhawk {
namespace {

constexpr uint32_t kNoSubject = UINT32_MAX;

// The place in `ids` of each record of `table`, by the record's position,
// or kNoSubject.
template <typename Table>
std::vector<uint32_t> SubjectOfPosition(const Table& table,
                                        const std::vector<uint32_t>& ids) {
  std::vector<uint32_t> subject(table.ids().size(), kNoSubject);
  for (uint32_t k = 0; k < ids.size(); ++k) {
    const uint32_t position = table.Find(ids[k]);
    if (position != Table::kNotFound) subject[position] = k;
  }
  return subject;
}

// A squad's sums in one score ID while its rows are walked.
struct SquadSums {
  SquadStats stats;
  bool has_rows = false;
};

}  // namespace

SubjectFigures GatherFigures(const std::vector<uint32_t>& score_ids,
                             const Databases& databases,
                             const SquadMembership& membership,
                             const SiteSubjects& subjects) {
  const std::vector<uint32_t> pilot_of_user =
      SubjectOfPosition(databases.UserTable, subjects.pilots);
  const std::vector<uint32_t> squad_of_squad =
      SubjectOfPosition(databases.SquadTable, subjects.squads);
  SubjectFigures figures;
  figures.pilots.resize(subjects.pilots.size());
  figures.squads.resize(subjects.squads.size());
  figures.members.resize(subjects.squads.size());

  // A squad subject of each user, by the user's position, or kNoSubject.
  const auto squad_subject = [&](uint32_t user) {
    const uint32_t squad = membership.squad_of_user[user];
    return squad == SquadMembership::kNoSquad ? kNoSubject
                                              : squad_of_squad[squad];
  };
  for (uint32_t user = 0; user < pilot_of_user.size(); ++user) {
    const uint32_t pilot = pilot_of_user[user];
    if (pilot == kNoSubject) continue;
    const uint32_t squad = squad_subject(user);
    if (squad != kNoSubject) figures.members[squad].push_back(pilot);
  }

  std::vector<SquadSums> sums(subjects.squads.size());
  for (uint32_t squad = 0; squad < sums.size(); ++squad) {
    const uint32_t position = databases.SquadTable.Find(subjects.squads[squad]);
    sums[squad].stats.Members = membership.members[position];
    figures.member_counts.push_back(membership.members[position]);
  }
  for (uint32_t score = 0; score < score_ids.size(); ++score) {
    const ScoreRows& rows = databases.ScoreTable.RowsOf(score_ids[score]);
    for (size_t k = 0; k < rows.size(); ++k) {
      const ScoreRow& row = rows[k];
      const uint32_t pilot = pilot_of_user[row.user];
      if (pilot != kNoSubject) {
        figures.pilots[pilot].push_back(
            {score, row.Wins, row.Losses, row.KillPoints, row.FlagPoints});
      }
      const uint32_t squad = squad_subject(row.user);
      if (squad == kNoSubject) continue;
      SquadSums& squad_sums = sums[squad];
      squad_sums.has_rows = true;
      squad_sums.stats.Wins += row.Wins;
      squad_sums.stats.Losses += row.Losses;
      squad_sums.stats.KillPoints += row.KillPoints;
      squad_sums.stats.FlagPoints += row.FlagPoints;
    }
    for (uint32_t squad = 0; squad < sums.size(); ++squad) {
      SquadSums& squad_sums = sums[squad];
      if (!squad_sums.has_rows) continue;
      figures.squads[squad].push_back({score, squad_sums.stats});
      const uint32_t members = squad_sums.stats.Members;
      squad_sums = SquadSums{};
      squad_sums.stats.Members = members;
    }
  }
  return figures;
}

}  // namespace tallyhawk
