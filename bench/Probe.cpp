// Start-up and footprint of a real program against floor programs, each launched as the user would
// launch it: from process creation until its window is shown and the process idle, then the peak
// working set (for the program, after one inspection started by setting the path box's text from
// outside, as a drop would). Runs take turns among the programs so that a drifting machine weighs
// on all alike. The programs may be 32-bit: Wine starts them under its 32-bit loader.
//
// bench_probe RUNS LABEL PROGRAM TITLE [FLOOR FLOOR_TITLE FLOOR_NAME STARTUP_GOAL PEAK_GOAL]...
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Stats.h"
#include "window/FormDescription.h"

namespace {

using timrose::ControlId;
using timrose::DialogId;
namespace bench = timrose::bench;

constexpr DWORD kPatienceMs = 15000;
constexpr DWORD kInspectedFileSize = 4096;

struct Launch {
  double startupMs = 0;
  double peakKb = 0;
  std::string error;
};

struct Search {
  DWORD processId;
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  if (*search->title != caption) return TRUE;
  search->found = window;
  return FALSE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / frequency;
}

std::wstring WindowTextOf(HWND window) {
  wchar_t text[256] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kPatienceMs,
                      &copied);
  return text;
}

// The path box takes the text as a drop would put it there; the change runs the whole inspection
// inside this call. A message box would hold the call, so the timeout tells a failed inspection
// from a finished one, and the size caption proves that the file was read.
std::string Inspect(HWND main, const std::wstring& file) {
  HWND box = GetDlgItem(main, DialogId(ControlId::txtPath));
  HWND size = GetDlgItem(main, DialogId(ControlId::lblSize));
  if (!box || !size) return "the window has no path box or size label";
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()), SMTO_ABORTIFHUNG,
                           kPatienceMs, &result)) {
    return "the inspection did not finish (a message box?)";
  }
  const std::wstring expected = L"大小: " + std::to_wstring(kInspectedFileSize) + L" 字节";
  if (WindowTextOf(size) != expected) return "the inspection did not show the file's size";
  return {};
}

Launch RunOnce(const std::wstring& program, const std::wstring& title, const std::wstring* inspect) {
  Launch launch;
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER begin, end;
  QueryPerformanceCounter(&begin);
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    launch.error = "cannot start the program, error " + std::to_string(GetLastError());
    return launch;
  }
  // A failed wait (no message queue yet) is not fatal: the window poll below still bounds it.
  WaitForInputIdle(process.hProcess, kPatienceMs);
  Search search{process.dwProcessId, &title, nullptr};
  const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
  while (true) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found || GetTickCount64() > deadline) break;
    Sleep(1);
  }
  QueryPerformanceCounter(&end);
  launch.startupMs = Milliseconds(begin, end);

  if (!search.found) {
    launch.error = "no visible window with the expected title";
  } else if (inspect) {
    launch.error = Inspect(search.found, *inspect);
  }
  if (launch.error.empty()) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
      launch.peakKb = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
    } else {
      launch.error = "no memory counters, error " + std::to_string(GetLastError());
    }
  }

  if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kPatienceMs);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return launch;
}

std::wstring WideArg(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

// A file of known size in the temporary folder, which the program sees as we do.
std::wstring MakeInspectedFile() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path =
      std::wstring(folder) + L"timrose-bench-probe-" + std::to_wstring(GetCurrentProcessId()) + L".dat";
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  const std::vector<char> bytes(kInspectedFileSize, 'x');
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), kInspectedFileSize, &written, nullptr);
  CloseHandle(file);
  return ok && written == kInspectedFileSize ? path : std::wstring();
}

struct Floor {
  std::wstring program, title;
  std::string name;
  double startupGoal = 0, peakGoal = 0;
  std::vector<double> startup, peak;
};

void Row(const std::string& measure, const char* unit, const std::vector<double>& program,
         const std::vector<double>& floor, double goalRatio) {
  const double a = bench::Median(program), b = bench::Median(floor), ratio = bench::Ratio(a, b);
  std::printf("| %s | %s %s | %s %s | %s | ratio <= %s | %s |\n", measure.c_str(), bench::Fixed(a, 1).c_str(),
              unit, bench::Fixed(b, 1).c_str(), unit, bench::Fixed(ratio, 2).c_str(),
              bench::Fixed(goalRatio, 2).c_str(), bench::Met(ratio, goalRatio));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5 || (argc - 5) % 5 != 0) {
    std::fprintf(stderr,
                 "usage: bench_probe RUNS LABEL PROGRAM TITLE "
                 "[FLOOR FLOOR_TITLE FLOOR_NAME STARTUP_GOAL PEAK_GOAL]...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const std::string label = argv[2];
  const std::wstring program = WideArg(argv[3]), title = WideArg(argv[4]);
  std::vector<Floor> floors;
  for (int i = 5; i + 4 < argc; i += 5) {
    floors.push_back({WideArg(argv[i]),
                      WideArg(argv[i + 1]),
                      argv[i + 2],
                      std::atof(argv[i + 3]),
                      std::atof(argv[i + 4]),
                      {},
                      {}});
  }
  const std::wstring file = MakeInspectedFile();
  if (file.empty()) {
    std::fprintf(stderr, "bench_probe: cannot write the file to inspect\n");
    return 1;
  }

  // Each round launches every program once, starting one further along each time, so that no
  // program always runs first or right after the same one.
  std::vector<double> startup, peak;
  const int programs = static_cast<int>(floors.size()) + 1;
  int status = 0;
  for (int i = 0; i < runs && status == 0; ++i) {
    for (int turn = 0; turn < programs; ++turn) {
      const int which = (i + turn) % programs;
      Floor* floor = which == 0 ? nullptr : &floors[static_cast<size_t>(which - 1)];
      const Launch launch =
          floor ? RunOnce(floor->program, floor->title, nullptr) : RunOnce(program, title, &file);
      if (!launch.error.empty()) {
        std::fprintf(stderr, "bench_probe: %s: %s\n", floor ? floor->name.c_str() : "program",
                     launch.error.c_str());
        status = 1;
        break;
      }
      (floor ? floor->startup : startup).push_back(launch.startupMs);
      (floor ? floor->peak : peak).push_back(launch.peakKb);
    }
  }
  DeleteFileW(file.c_str());
  if (status != 0) return status;

  for (const Floor& floor : floors) {
    Row("Start-up, " + label + ", to a shown and idle window, against " + floor.name, "ms", startup,
        floor.startup, floor.startupGoal);
  }
  for (const Floor& floor : floors) {
    Row("Peak working set after an inspection, " + label + ", against " + floor.name, "KB", peak, floor.peak,
        floor.peakGoal);
  }
  return 0;
}
