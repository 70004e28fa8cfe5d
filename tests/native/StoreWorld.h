#pragma once
// One simulated machine and its store, for the tests of the store's reads and writes; table-driven
// tests build a fresh one per case.
#include <cstdint>
#include <vector>

#include "core/modFileAttribute.h"
#include "tests/sim/SimLocale.h"
#include "tests/sim/SimTime.h"
#include "tests/sim/SimVolume.h"

namespace timrose {

constexpr uint32_t kNotIndexed = 0x2000;
constexpr uint32_t kTemporary = 0x100;
constexpr uint32_t kEveryOwnedBit = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

// The regional format of a Chinese Windows, with a record of what went through its number text.
class SpyLocale : public sim::SimLocale {
 public:
  SpyLocale() : SimLocale(ZhCN()) {}
  std::vector<int64_t> grouped;
  std::vector<Text> read;
  Text GroupedWholeText(int64_t value) override {
    grouped.push_back(value);
    return SimLocale::GroupedWholeText(value);
  }
  double ReadNumberText(const Text& text) override {
    read.push_back(text);
    return SimLocale::ReadNumberText(text);
  }
};

struct World {
  sim::SimTime time;
  sim::SimVolume volume{time};
  SpyLocale locale;
  modFileAttribute store{volume, time, locale};

  // A file with every owned bit and two foreign ones, and stamps that differ from each other.
  sim::SimEntry& AddTarget(const Text& path) {
    sim::SimEntry& e = volume.AddFile(path, 1234, kEveryOwnedBit | kNotIndexed | kTemporary);
    e.creation = sim::TicksFromUtc(2009, 5, 6, 7, 8, 9, 120);
    e.lastAccess = sim::TicksFromUtc(2010, 6, 7, 8, 9, 10, 340);
    e.lastWrite = sim::TicksFromUtc(2011, 7, 8, 9, 10, 11, 560);
    return e;
  }
};

}  // namespace timrose
