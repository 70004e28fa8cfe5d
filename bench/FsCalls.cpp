// How many file-system calls one inspection and one apply of an existing file make, counted on the
// simulated volume, against the number their own steps require. A call beyond them is work done
// twice.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/sim/SimPlatform.h"

namespace {

using timrose::ControlId;
using timrose::sim::Op;

// The attribute read and the existence test; three time reads, each its own existence test,
// open, query and close; the file length. Looking writes nothing.
const std::map<Op, int> kInspection = {
    {Op::GetAttr, 1},     {Op::Exists, 1 + 3}, {Op::OpenFile, 3}, {Op::GetFileInformationByHandle, 3},
    {Op::CloseHandle, 3}, {Op::FileLen, 1},
};

// The snapshot for undoing (attribute read, open, query, close); the time write (existence test,
// attribute read and clear, open, time write, close); the attribute write; the read-back (attribute
// read, three time reads).
const std::map<Op, int> kApply = {
    {Op::GetAttr, 1 + 1 + 1},     {Op::SetAttr, 1 + 1}, {Op::Exists, 1 + 3},
    {Op::OpenFile, 1 + 1 + 3},    {Op::SetFileTime, 1}, {Op::GetFileInformationByHandle, 1 + 3},
    {Op::CloseHandle, 1 + 1 + 3},
};

void PrintRow(const char* handler, const std::vector<Op>& calls, const std::map<Op, int>& required) {
  std::map<Op, int> all;
  for (Op op : calls) ++all[op];
  int needed = 0;
  for (const auto& [op, count] : required) {
    needed += count;
    all.try_emplace(op, 0);
  }
  // Per call: what went beyond the steps, and anything the steps never ask for.
  std::string beyond;
  for (const auto& [op, count] : all) {
    const auto need = required.find(op);
    const int extra = count - (need == required.end() ? 0 : need->second);
    if (extra == 0) continue;
    if (!beyond.empty()) beyond += ", ";
    beyond += std::string(timrose::sim::OpName(op)) + (extra > 0 ? " +" : " ") + std::to_string(extra);
  }
  const int total = static_cast<int>(calls.size());
  std::printf(
      "| File-system calls of one %s (simulated volume) | %d | %d required | %.2f | none beyond the "
      "required | %s |\n",
      handler, total, needed, static_cast<double>(total) / needed,
      beyond.empty() ? "yes" : ("no: " + beyond).c_str());
}

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
  const std::vector<Op> inspection = h.sim.volume.calls;
  h.sim.volume.calls.clear();
  h.form.Click(ControlId::chkHide);
  h.form.Click(ControlId::btnSet);
  if (h.sim.messages.shown.size() != 1 || h.sim.messages.shown[0].prompt != u"设置成功") {
    std::fprintf(stderr, "bench_fs_calls: the apply did not end in its success message\n");
    return 1;
  }
  PrintRow("inspection", inspection, kInspection);
  PrintRow("apply", h.sim.volume.calls, kApply);
  return 0;
}
