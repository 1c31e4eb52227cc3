#include "db/score_ids.h"

#include <algorithm>

namespace tallyhawk {

void ScoreIdList::Insert(uint32_t score_id) {
  auto it = std::lower_bound(ids_.begin(), ids_.end(), score_id);
  if (it == ids_.end() || *it != score_id) ids_.insert(it, score_id);
}

void ScoreIdList::Assign(std::vector<uint32_t> score_ids) {
  std::sort(score_ids.begin(), score_ids.end());
  score_ids.erase(std::unique(score_ids.begin(), score_ids.end()),
                  score_ids.end());
  ids_ = std::move(score_ids);
}

namespace {

// The dots of a walk over the rows of loaded users in ascending slot order:
// they mark tenths of SlotCount, and only rows that count can print one, so
// where they fall depends on which slots hold such rows. A tenth is marked
// when a row lies in the slots where the walk's progress equals it exactly;
// the rows of each score ID are in slot order, so a search finds that.
void PrintGatherDots(ProgressSink& progress, const ScoreTableType& scores) {
  const uint64_t slot_count = scores.SlotCount();
  for (uint64_t tenth = 10; tenth < 100; tenth += 10) {
    const uint64_t first = FirstSlotOf(100, tenth, slot_count);
    const uint64_t end = FirstSlotOf(100, tenth + 1, slot_count);
    for (const ScoreRows& rows : scores.groups()) {
      // The first row at or after `first`.
      size_t low = 0;
      size_t high = rows.size();
      while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (rows[middle].slot < first) {
          low = middle + 1;
        } else {
          high = middle;
        }
      }
      if (low < rows.size() && rows[low].slot < end) {
        progress.Dot();
        break;
      }
    }
  }
}

}  // namespace

ScoreIdList CollectScoreIds(StatusOutput& status, const Databases& databases,
                            uint32_t single_score_id) {
  ScoreIdList list;
  if (single_score_id != 0) {
    // The score table is not consulted: the ID gets its pass even when no
    // row carries it.
    status.PrintStatus("Processing single scoreID\n");
    list.Insert(single_score_id);
    return list;
  }
  status.PrintStatus("Sorting all scoreID's .");
  PrintGatherDots(status, databases.ScoreTable);
  list.Assign(databases.ScoreTable.score_ids());
  status.line() << " Done, found " << list.Count() << " scoreID's\n";
  status.PrintStatusLine();
  return list;
}

}  // namespace tallyhawk
