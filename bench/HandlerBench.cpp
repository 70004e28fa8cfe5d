// One inspection and one apply, timed inside a process that runs the program's own window logic on
// the real Windows platform services, with a window model that costs nothing, against the floor
// of the same file's metadata calls made directly. Each figure is the median of many runs; the
// handler and its floor take turns, so that a drifting machine weighs on both alike.
//
// bench_handlers RUNS LABEL [--steps]   LABEL names the build ("32-bit"); --steps: also where one
//                                       inspection's time goes, step by step.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/HeadlessForm.h"
#include "bench/Stats.h"
#include "core/modFileAttribute.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32CommonDialog.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32LocaleText.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32TimeApi.h"
#include "window/frmFileAttribute.h"

namespace {

using namespace timrose;
namespace bench = timrose::bench;

constexpr DWORD kFileSize = 4096;

// Boxes answer at once and are only counted: what a box costs is the user's time, not the
// handler's, and a box where none belongs means the run measured a failure.
class CountingMessageBox final : public IMessageBox {
 public:
  int MsgBox(const Text& prompt, int, const Text&) override {
    ++count;
    last = prompt;
    return kAnswerOk;
  }
  int count = 0;
  Text last;
};

class Clock {
 public:
  Clock() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    frequency_ = static_cast<double>(f.QuadPart);
  }
  template <typename Work>
  double Microseconds(Work&& work) const {
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - begin.QuadPart) * 1e6 / frequency_;
  }

 private:
  double frequency_ = 1;
};

// The least any inspection must do to learn this file's metadata: one attribute query, one open,
// one information query, one close.
bool ReadFloor(const wchar_t* path) {
  if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return false;
  // The program's open: read access, shared with readers and writers.
  HANDLE handle =
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  ::BY_HANDLE_FILE_INFORMATION info;
  const bool ok = ::GetFileInformationByHandle(handle, &info);
  ::CloseHandle(handle);
  return ok;
}

// The least any apply must do: clear the attributes so that the file opens for writing, open,
// write the three times, close, set the attributes.
bool WriteFloor(const wchar_t* path, const ::FILETIME& stamp) {
  if (!SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL)) return false;
  HANDLE handle = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool ok = ::SetFileTime(handle, &stamp, &stamp, &stamp);
  ::CloseHandle(handle);
  return SetFileAttributesW(path, FILE_ATTRIBUTE_ARCHIVE) && ok;
}

Text MakeFile() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path =
      std::wstring(folder) + L"timrose-bench-handlers-" + std::to_wstring(GetCurrentProcessId()) + L".dat";
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  const std::vector<char> bytes(kFileSize, 'x');
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), kFileSize, &written, nullptr);
  CloseHandle(file);
  return ok && written == kFileSize ? win32::FromWide(path.c_str()) : Text();
}

int Fail(const char* what) {
  std::fprintf(stderr, "bench_handlers: %s\n", what);
  return 1;
}

void Row(const std::string& measure, const std::vector<double>& handler, const std::vector<double>& floor,
         const char* goal, const char* met) {
  const double a = bench::Median(handler), b = bench::Median(floor);
  std::printf("| %s | %s us | %s us | %s | %s | %s |\n", measure.c_str(), bench::Fixed(a, 1).c_str(),
              bench::Fixed(b, 1).c_str(), bench::Fixed(bench::Ratio(a, b), 2).c_str(), goal, met);
}

// The platform operations one inspection is made of, each timed alone, with how often one
// inspection calls it: what holds the inspection back.
void PrintSteps(int runs, const Clock& clock, IFileSystem& files, ITimeApi& time, ILocaleText& text,
                modFileAttribute& store, const Text& path, const std::string& label) {
  struct Step {
    const char* name;
    int perInspection;
    std::function<void()> work;
  };
  const Date date = store.ReadFileTime(path, kLastWriteTime);
  const Step steps[] = {
      {"attribute read (GetAttr)", 1, [&] { files.GetAttr(path); }},
      {"existence test (Exists)", 1, [&] { files.Exists(path, kAttrArchive); }},
      {"ReadFileTime, whole (existence test, open, query, close, zone record, conversions)", 3,
       [&] { store.ReadFileTime(path, kCreationTime); }},
      {"  of which the open, information query and close", 3,
       [&] {
         timrose::OFSTRUCT ofs;
         timrose::BY_HANDLE_FILE_INFORMATION info;
         const timrose::HFILE file = files.OpenFile(path, ofs, kOfRead);
         files.GetFileInformationByHandle(file, info);
         files.CloseHandle(file);
       }},
      {"  of which the zone record (GetTimeZoneInformation)", 3,
       [&] {
         timrose::TIME_ZONE_INFORMATION zone;
         time.GetTimeZoneInformation(zone);
       }},
      {"date text of a time box (DateText)", 3, [&] { text.DateText(date); }},
      {"file length (FileLen)", 1, [&] { files.FileLen(path); }},
  };
  std::printf(
      "\nWhere one inspection's time goes, %s (median of each step alone, times the calls one inspection "
      "makes):\n",
      label.c_str());
  for (const Step& step : steps) {
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) samples.push_back(clock.Microseconds(step.work));
    const double each = bench::Median(samples);
    std::printf("- %s: %s us x %d = %s us\n", step.name, bench::Fixed(each, 1).c_str(), step.perInspection,
                bench::Fixed(each * step.perInspection, 1).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 2 ? std::atoi(argv[1]) : 0;
  if (runs < 1) return Fail("usage: bench_handlers RUNS LABEL [--steps]");
  const std::string label = argv[2];

  win32::Win32FileSystem files;
  win32::Win32TimeApi time;
  win32::Win32LocaleText text;
  CountingMessageBox messages;
  win32::Win32ProcessInfo process;
  win32::Win32WindowSystem windows;
  HandlerServices services{files, text, messages, process, windows};
  modFileAttribute store(files, time, text);
  win32::Win32CommonDialog cdgFile;
  bench::HeadlessForm form;
  frmFileAttribute frm(form, cdgFile, services, store);

  const Text path = MakeFile();
  if (path.empty()) return Fail("cannot write the file to inspect");
  const wchar_t* const widePath = win32::Wide(path);
  form.SetText(ControlId::txtPath, path);

  // One checked run of each before timing: a run that fails fast would make a fine-looking figure.
  frm.txtPath_Change();
  const Text sizeCaption = u"大小: " + DecimalText(kFileSize) + u" 字节";
  if (messages.count != 0 || !form.GetEnabled(ControlId::btnSet) ||
      form.GetText(ControlId::lblSize) != sizeCaption || form.GetText(ControlId::txtTime0).empty()) {
    DeleteFileW(win32::Wide(path));
    return Fail("the inspection did not fill the window without a message");
  }
  frm.btnSet_Click();
  if (messages.count != 1 || messages.last != u"设置成功") {
    DeleteFileW(win32::Wide(path));
    return Fail("the apply did not end in its success message");
  }
  ::FILETIME stamp;
  GetSystemTimeAsFileTime(&stamp);
  if (!ReadFloor(widePath) || !WriteFloor(widePath, stamp)) {
    DeleteFileW(win32::Wide(path));
    return Fail("the floor's calls failed");
  }

  const Clock clock;
  std::vector<double> inspect, inspectFloor, apply, applyFloor;
  inspect.reserve(static_cast<size_t>(runs));
  inspectFloor.reserve(static_cast<size_t>(runs));
  apply.reserve(static_cast<size_t>(runs));
  applyFloor.reserve(static_cast<size_t>(runs));
  messages.count = 0;
  for (int i = 0; i < runs; ++i) {
    const bool handlerFirst = i % 2 == 0;
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == handlerFirst) {
        inspect.push_back(clock.Microseconds([&] { frm.txtPath_Change(); }));
      } else {
        inspectFloor.push_back(clock.Microseconds([&] { ReadFloor(widePath); }));
      }
    }
  }
  const int inspectionBoxes = messages.count;
  for (int i = 0; i < runs; ++i) {
    const bool handlerFirst = i % 2 == 0;
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == handlerFirst) {
        apply.push_back(clock.Microseconds([&] { frm.btnSet_Click(); }));
      } else {
        applyFloor.push_back(clock.Microseconds([&] { WriteFloor(widePath, stamp); }));
      }
    }
  }
  const int applyBoxes = messages.count - inspectionBoxes;
  const bool applyEndedWell = messages.last == u"设置成功";
  const bool steps = argc > 3 && std::strcmp(argv[3], "--steps") == 0;
  if (inspectionBoxes != 0 || applyBoxes != runs || !applyEndedWell) {
    DeleteFileW(win32::Wide(path));
    return Fail(inspectionBoxes != 0 ? "an inspection showed a message while timed"
                                     : "an apply showed a message other than its success");
  }

  const double inspection = bench::Median(inspect);
  Row("One inspection (txtPath_Change), " + label + ", against attribute query + open + query + close",
      inspect, inspectFloor, "inspection < 1000 us", inspection < 1000.0 ? "yes" : "no");
  Row("One apply (btnSet_Click, success box excluded), " + label +
          ", against attribute clear + open + time write + close + attribute write",
      apply, applyFloor, "none set", "-");
  if (steps) PrintSteps(runs, clock, files, time, text, store, path, label);
  DeleteFileW(win32::Wide(path));
  return 0;
}
