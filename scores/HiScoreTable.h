// The ten best scores with their names, and a spare slot 10 that takes a new
// entry before the sort. A score of 0 marks a free slot.
#pragma once

#include <cstdint>
#include <string>

namespace pellmora {

constexpr int kHiScoreSlots = 11;
constexpr int kHiScoreListed = 10;

struct HiScoreTable {
  int16_t hiScores[kHiScoreSlots] = {};  // slots 0..9 the list, best first; 10 a spare
  std::string hiNames[kHiScoreSlots];

  // Exchange sort of all eleven slots, best first. Equal scores are never
  // swapped with each other, yet the order among equals can change when an
  // entry moves past them; the ranking's order of names depends on exactly this.
  void SortHiScores();
  // Records a new entry: the first free slot (the spare when the list is
  // full) takes it, the table is sorted and its lowest entry dropped.
  void PlaceHiScore(int16_t score, const std::string& name);
};

}  // namespace pellmora
