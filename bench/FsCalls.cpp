// How many file-system calls one inspection of an existing file makes, counted on the simulated
// volume, against the number its own steps require. A call beyond them is work done twice.
#include <cstdio>
#include <map>
#include <string>

#include "tests/sim/SimPlatform.h"

namespace {

using timrose::ControlId;
using timrose::sim::Op;

// Two attribute reads and the existence test; three time reads, each its own existence test,
// open, query and close; the file length; the attribute write-back.
const std::map<Op, int> kRequired = {
    {Op::GetAttr, 2},     {Op::Exists, 1 + 3}, {Op::OpenFile, 3}, {Op::GetFileInformationByHandle, 3},
    {Op::CloseHandle, 3}, {Op::FileLen, 1},    {Op::SetAttr, 1},
};

}  // namespace

int main() {
  timrose::sim::FormHarness h;
  h.sim.volume.AddFile(u"C:\\data\\report.txt", 12345);
  h.sim.volume.calls.clear();
  h.form.SetText(ControlId::txtPath, u"C:\\data\\report.txt");
  if (!h.sim.messages.shown.empty() || !h.form.GetEnabled(ControlId::btnSet)) {
    std::fprintf(stderr, "bench_fs_calls: the inspection did not show the file\n");
    return 1;
  }

  std::map<Op, int> counted;
  for (Op op : h.sim.volume.calls) ++counted[op];
  int required = 0;
  for (const auto& [op, count] : kRequired) required += count;
  // Per call: what went beyond the steps, and anything the steps never ask for.
  std::string beyond;
  std::map<Op, int> all = counted;
  for (const auto& [op, count] : kRequired) all.try_emplace(op, 0);
  for (const auto& [op, count] : all) {
    const auto need = kRequired.find(op);
    const int extra = count - (need == kRequired.end() ? 0 : need->second);
    if (extra == 0) continue;
    if (!beyond.empty()) beyond += ", ";
    beyond += std::string(timrose::sim::OpName(op)) + (extra > 0 ? " +" : " ") + std::to_string(extra);
  }
  const int total = static_cast<int>(h.sim.volume.calls.size());
  std::printf(
      "| File-system calls of one inspection (simulated volume) | %d | %d required | %.2f | none beyond the "
      "required | %s |\n",
      total, required, static_cast<double>(total) / required,
      beyond.empty() ? "yes" : ("no: " + beyond).c_str());
  return 0;
}
