#include "tests/gui/Driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "tests/Support.h"

#ifndef TIMROSE_EXE
#error "TIMROSE_EXE must name the program under test"
#endif

namespace timrose::gui {
namespace {

constexpr int kPollMs = 10;
// Wine's message box keeps its icon in this static control.
constexpr int kBoxIconId = 0x440;
constexpr int kBoxTextId = 0xFFFF;
constexpr int kFileNameBoxId = 0x47C;

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring WindowText(HWND hwnd) {
  // WM_GETTEXT rather than GetWindowText: the latter does not ask controls of other processes.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &length)) return L"";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      3000, &copied);
  text.resize(copied);
  return text;
}

// 32-bit pixels of a screen area, top row first.
std::vector<DWORD> Grab(HDC source, int x, int y, int width, int height) {
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return pixels;
}

std::vector<DWORD> RenderIcon(LPCWSTR id, DWORD background, int size) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  for (int i = 0; i < size * size; ++i) static_cast<DWORD*>(bits)[i] = background;
  DrawIconEx(memory, 0, 0, LoadIconW(nullptr, id), 0, 0, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + size * size);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Icon handles of another process cannot be read here, so the icon is recognised by its pixels
// on the screen against the system icons drawn over the same background.
int RecogniseIcon(HWND iconControl) {
  if (!iconControl || !IsWindowVisible(iconControl)) return kIconNone;
  RECT rect;
  GetWindowRect(iconControl, &rect);
  const int size = GetSystemMetrics(SM_CXICON);
  HDC screen = GetDC(nullptr);
  const std::vector<DWORD> shown = Grab(screen, rect.left, rect.top, size, size);
  ReleaseDC(nullptr, screen);
  const std::pair<LPCWSTR, int> candidates[] = {{IDI_ERROR, kIconError},
                                                {IDI_QUESTION, kIconQuestion},
                                                {IDI_WARNING, kIconWarning},
                                                {IDI_INFORMATION, kIconInformation}};
  for (const auto& [id, style] : candidates) {
    const std::vector<DWORD> drawn = RenderIcon(id, shown[0], size);
    int differing = 0;
    for (size_t i = 0; i < shown.size(); ++i) differing += (shown[i] & 0xFFFFFF) != (drawn[i] & 0xFFFFFF);
    if (differing * 50 < size * size) return style;
  }
  return -1;
}

struct FindData {
  DWORD pid;
  std::function<bool(HWND)> match;
  HWND found = nullptr;
};

// Windows calls these back with its own calling convention, which a lambda does not have on 32-bit.
BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM param) {
  auto* data = reinterpret_cast<FindData*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == data->pid && data->match(hwnd)) {
    data->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectToolTips(HWND hwnd, LPARAM param) {
  if (ClassOf(hwnd) == TOOLTIPS_CLASSW) reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

HWND FindTopLevel(DWORD pid, std::function<bool(HWND)> match) {
  FindData data{pid, std::move(match)};
  EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

// The tool record as a program of the given pointer width lays it out: the tooltip control reads
// it in the program's memory, whatever the driver's own width.
template <typename Pointer>
struct ToolInfo {
  UINT cbSize;
  UINT uFlags;
  Pointer hwnd;
  Pointer uId;
  RECT rect;
  Pointer hinst;
  Pointer lpszText;
  Pointer lParam;
  Pointer lpReserved;
};
static_assert(sizeof(ToolInfo<UINT_PTR>) == sizeof(TTTOOLINFOW));
static_assert(sizeof(ToolInfo<uint32_t>) == 48);

// The text of the tool registered for `control` with one of the program's tooltips, read through a
// buffer allocated in the program; nullopt when no tool is registered for it.
template <typename Pointer>
std::optional<std::wstring> ToolTipText(HANDLE process, HWND tip, HWND control) {
  constexpr size_t kChars = 1024;
  using Info = ToolInfo<Pointer>;
  char* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, sizeof(Info) + kChars * 2, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return std::nullopt;
  const auto remoteAddress = static_cast<Pointer>(reinterpret_cast<UINT_PTR>(remote));
  std::optional<std::wstring> result;
  const int count = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
  for (int i = 0; i < count && !result; ++i) {
    Info info{};
    info.cbSize = sizeof info;
    SIZE_T moved = 0;
    WriteProcessMemory(process, remote, &info, sizeof info, &moved);
    if (!SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(remote))) continue;
    ReadProcessMemory(process, remote, &info, sizeof info, &moved);
    const auto target = static_cast<Pointer>(reinterpret_cast<UINT_PTR>(control));
    const bool forControl = (info.uFlags & TTF_IDISHWND) ? info.uId == target : info.hwnd == target;
    if (!forControl) continue;
    info.lpszText = static_cast<Pointer>(remoteAddress + sizeof info);
    std::vector<wchar_t> text(kChars, L'\0');
    WriteProcessMemory(process, remote + sizeof info, text.data(), kChars * 2, &moved);
    WriteProcessMemory(process, remote, &info, sizeof info, &moved);
    SendMessageW(tip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote + sizeof info, text.data(), kChars * 2, &moved);
    text.back() = L'\0';
    result = std::wstring(text.data());
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return result;
}

// True when the process runs 32-bit code (on a 64-bit system or on a 32-bit one).
bool Is32BitProcess(HANDLE process) {
  if constexpr (sizeof(void*) == 4) return true;
  BOOL wow64 = FALSE;
  return IsWow64Process(process, &wow64) && wow64;
}

void WriteBmp(const std::wstring& path, std::vector<DWORD> pixels, int width, int height) {
  // The screen leaves the fourth byte undefined; viewers would take it for transparency.
  for (DWORD& pixel : pixels) pixel |= 0xFF000000;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE) << Utf8(path);
  DWORD written = 0;
  WriteFile(handle, &file, sizeof file, &written, nullptr);
  WriteFile(handle, &info, sizeof info, &written, nullptr);
  WriteFile(handle, pixels.data(), static_cast<DWORD>(pixels.size() * 4), &written, nullptr);
  CloseHandle(handle);
}

// $TIMROSE_ARTIFACTS as ./test gives it is a Unix path; Wine maps the root to Z:.
std::wstring ArtifactsFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"TIMROSE_ARTIFACTS", buffer, MAX_PATH)) return L"";
  std::wstring folder = buffer;
  if (!folder.empty() && folder[0] == L'/') folder = L"Z:" + folder;
  for (wchar_t& c : folder) c = c == L'/' ? L'\\' : c;
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return folder;
}

}  // namespace

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::wstring Wide(std::string_view utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
  return text;
}

std::string Utf8(std::wstring_view text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string bytes(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                      nullptr);
  return bytes;
}

std::wstring ProgramPath() {
  // The build names its program; a run may name another build of it (the shipped 32-bit one) by its
  // Unix path, which Wine shows under Z:.
  const char* chosen = std::getenv("TIMROSE_PROGRAM");
  std::wstring path =
      chosen && *chosen ? L"Z:" + Wide(std::string_view(chosen)) : Wide(std::string_view(TIMROSE_EXE));
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  return path;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(kPollMs);
  }
  return true;
}

// ---- TempFolder

TempFolder::TempFolder(std::wstring_view parent) {
  // The first free name of its kind: the Unix /tmp is shared by every Wine prefix on the machine,
  // and each prefix's server hands out the same small process ids, so two runs at the same time
  // would otherwise share, and delete, each other's files.
  static int serial = 0;
  const std::wstring base = std::wstring(parent) + L"\\timrose-gui-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int tries = 0; tries < 1000; ++tries) {
    path_ = base + std::to_wstring(++serial);
    if (CreateDirectoryW(path_.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

namespace {

// Removes a file, or a folder with everything in it, read-only and hidden entries included. Through
// the long form, which names entries at any depth: Wine's shell delete cannot name those past
// MAX_PATH and then deletes what lies in the current folder instead.
void RemoveTree(const std::wstring& path) {
  const std::wstring whole = L"\\\\?\\" + path;
  SetFileAttributesW(whole.c_str(), FILE_ATTRIBUTE_NORMAL);
  const DWORD attributes = GetFileAttributesW(whole.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(whole.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((whole + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(whole.c_str());
}

}  // namespace

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

std::wstring TempFolder::MakeFile(std::wstring_view name, long long size) {
  const std::wstring path = path_ + L"\\" + std::wstring(name);
  HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot create " << Utf8(path);
    return path;
  }
  LARGE_INTEGER end;
  end.QuadPart = size;
  SetFilePointerEx(handle, end, nullptr, FILE_BEGIN);
  SetEndOfFile(handle);
  CloseHandle(handle);
  return path;
}

std::wstring TempFolder::MakeFolder(std::wstring_view name) {
  const std::wstring path = path_ + L"\\" + std::wstring(name);
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

// ---- App

App::App(const std::vector<std::wstring>& environment) {
  const std::wstring exe = ProgramPath();
  // The program inherits this process's environment with the overrides applied.
  std::wstring block;
  if (!environment.empty()) {
    LPWCH own = GetEnvironmentStringsW();
    std::vector<std::wstring> entries;
    for (LPWCH entry = own; *entry; entry += wcslen(entry) + 1) entries.emplace_back(entry);
    FreeEnvironmentStringsW(own);
    for (const std::wstring& setting : environment) {
      const std::wstring key = setting.substr(0, setting.find(L'=') + 1);
      std::erase_if(entries, [&](const std::wstring& entry) { return entry.starts_with(key); });
      entries.push_back(setting);
    }
    for (const std::wstring& entry : entries) block += entry + L'\0';
    block += L'\0';
  }
  std::wstring commandLine = L"\"" + exe + L"\"";
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                      block.empty() ? nullptr : block.data(), folder.c_str(), &startup, &pi_)) {
    ADD_FAILURE() << "cannot start " << Utf8(exe) << ": error " << GetLastError();
    return;
  }
  WaitForInputIdle(pi_.hProcess, 10000);
  const std::wstring caption = Wide(kForm.caption);
  WaitUntil(
      [&] {
        main_ = FindTopLevel(pi_.dwProcessId, [&](HWND hwnd) {
          return IsWindowVisible(hwnd) && ClassOf(hwnd) != L"#32770" && WindowText(hwnd) == caption;
        });
        return main_ != nullptr || WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0;
      },
      10000);
  if (!main_) {
    ADD_FAILURE() << "the program showed no window captioned \"Timrose\"";
    return;
  }
  thread_ = GetWindowThreadProcessId(main_, nullptr);
  // The program is ready once its start focus is set.
  WaitUntil([&] { return !Focus().empty(); }, 3000);
}

App::~App() {
  Kill();
}

void App::Kill() {
  if (pi_.hProcess) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  // A worker blocked in a call into the program returns once the program is gone.
  if (worker_.joinable()) worker_.join();
  if (pi_.hProcess) CloseHandle(pi_.hProcess);
  if (pi_.hThread) CloseHandle(pi_.hThread);
  pi_ = {};
  main_ = nullptr;
}

HWND App::Control(std::string_view name) const {
  const std::optional<ControlId> id = ControlByName(name);
  if (!id) {
    ADD_FAILURE() << "no control named " << name;
    return nullptr;
  }
  HWND hwnd = GetDlgItem(main_, DialogId(*id));
  if (!hwnd) ADD_FAILURE() << "the window has no control " << name;
  return hwnd;
}

std::wstring App::Text(std::string_view name) const {
  return WindowText(Control(name));
}

bool App::Enabled(std::string_view name) const {
  return IsWindowEnabled(Control(name));
}

bool App::Visible(std::string_view name) const {
  return IsWindowVisible(Control(name));
}

int App::Checked(std::string_view name) const {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(Control(name), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 3000, &state);
  return static_cast<int>(state);
}

RECT App::ScreenRect(std::string_view name) const {
  RECT rect{};
  GetWindowRect(Control(name), &rect);
  return rect;
}

RECT App::ClientRect(std::string_view name) const {
  RECT rect = ScreenRect(name);
  MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string App::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(thread_, &info) || !info.hwndFocus) return "";
  if (GetParent(info.hwndFocus) == main_) {
    const int id = GetDlgCtrlID(info.hwndFocus) - DialogId(static_cast<ControlId>(0));
    if (id >= 0 && id < kControlCount) return ControlName(static_cast<ControlId>(id));
  }
  return "[" + Utf8(ClassOf(info.hwndFocus)) + "]";
}

bool App::WaitFocus(std::string_view name, int timeoutMs) const {
  return WaitUntil([&] { return Focus() == name; }, timeoutMs);
}

LRESULT App::SendMessageTo(std::string_view name, UINT message, WPARAM wParam, LPARAM lParam) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(name.empty() ? main_ : Control(name), message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                      &result);
  return static_cast<LRESULT>(result);
}

std::wstring App::ToolTip(std::string_view name) const {
  HWND control = Control(name);
  HANDLE process = OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
      pi_.dwProcessId);
  if (!process) return L"";
  std::vector<HWND> tips;
  EnumWindows(&CollectToolTips, reinterpret_cast<LPARAM>(&tips));
  std::optional<std::wstring> text;
  const bool program32 = Is32BitProcess(process);
  if (!program32 && sizeof(void*) == 4) ADD_FAILURE() << "a 32-bit driver cannot read a 64-bit program";
  for (HWND tip : tips) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tip, &pid);
    if (pid != pi_.dwProcessId || text) continue;
    text = program32 ? ToolTipText<uint32_t>(process, tip, control)
                     : ToolTipText<UINT_PTR>(process, tip, control);
  }
  CloseHandle(process);
  return text.value_or(L"");
}

std::string App::PressTab() {
  const std::string before = Focus();
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(thread_, &info);
  HWND target = info.hwndFocus ? info.hwndFocus : main_;
  PostMessageW(target, WM_KEYDOWN, VK_TAB, 0x000F0001);
  PostMessageW(target, WM_KEYUP, VK_TAB, 0xC00F0001);
  std::string after;
  WaitUntil(
      [&] {
        after = Focus();
        return after != before;
      },
      2000);
  return after == before ? "" : after;
}

void App::Run(std::function<void()> action) {
  if (worker_.joinable()) {
    if (!JoinAction(10000)) ADD_FAILURE() << "the previous action is still running";
  }
  if (worker_.joinable()) worker_.join();
  actionDone_ = false;
  worker_ = std::thread([this, action = std::move(action)] {
    action();
    actionDone_ = true;
  });
}

void App::SetText(std::string_view name, std::wstring_view text) {
  HWND control = Control(name);
  Run([control, value = std::wstring(text)] {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_NORMAL, 30000,
                        &result);
  });
}

void App::Click(std::string_view name) {
  HWND control = Control(name);
  Run([control] {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &result);
  });
}

bool App::JoinAction(int timeoutMs) {
  if (!WaitUntil([&] { return ActionDone(); }, timeoutMs)) return false;
  if (worker_.joinable()) worker_.join();
  return true;
}

std::optional<MessageBoxInfo> App::FindBox() const {
  HWND box = FindTopLevel(pi_.dwProcessId, [](HWND hwnd) {
    return IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, kBoxTextId) &&
           !GetDlgItem(hwnd, kFileNameBoxId);
  });
  if (!box) return std::nullopt;
  MessageBoxInfo info;
  info.hwnd = box;
  info.title = WindowText(box);
  info.text = WindowText(GetDlgItem(box, kBoxTextId));
  for (int id = IDOK; id <= 11; ++id) {
    HWND button = GetDlgItem(box, id);
    if (!button || !IsWindowVisible(button)) continue;
    info.buttons.push_back(id);
    if ((GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON) info.defaultButton = id;
  }
  GetWindowRect(box, &info.rect);
  // The box paints after it shows: give its icon a moment to reach the screen, longer on a machine
  // busy with other builds (1.5 s was seen to be too short there).
  WaitUntil([&] { return (info.icon = RecogniseIcon(GetDlgItem(box, kBoxIconId))) != -1; }, 6000);
  return info;
}

MessageBoxInfo App::NextBox(int timeoutMs) {
  std::optional<MessageBoxInfo> box;
  // Without an action running (a box opened by real input, say) wait for the box alone.
  const bool action = worker_.joinable();
  WaitUntil(
      [&] {
        box = FindBox();
        return box.has_value() || (action && ActionDone());
      },
      timeoutMs);
  // An action may show a box just as it is about to end; look once more.
  if (!box) box = FindBox();
  if (!box && ActionDone() && worker_.joinable()) worker_.join();
  return box.value_or(MessageBoxInfo{});
}

MessageBoxInfo App::ExpectBox(int timeoutMs) {
  std::optional<MessageBoxInfo> box;
  WaitUntil(
      [&] {
        box = FindBox();
        return box.has_value();
      },
      timeoutMs);
  if (!box) ADD_FAILURE() << "expected a message box, none showed";
  return box.value_or(MessageBoxInfo{});
}

void App::ExpectNoBox(int timeoutMs) {
  for (;;) {
    MessageBoxInfo box = NextBox(timeoutMs);
    if (!box) break;
    ADD_FAILURE() << "unexpected message box \"" << Utf8(box.title) << "\": " << Utf8(box.text);
    Answer(box, box.defaultButton ? box.defaultButton : box.buttons.empty() ? IDOK : box.buttons.front());
  }
  if (!JoinAction(timeoutMs)) ADD_FAILURE() << "the action did not end";
}

void App::Answer(const MessageBoxInfo& box, int buttonId) {
  if (!box) return;
  PostMessageW(GetDlgItem(box.hwnd, buttonId), BM_CLICK, 0, 0);
  if (!WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, 3000))
    ADD_FAILURE() << "the message box did not close on button " << buttonId;
}

HWND App::WaitFileDialog(std::wstring_view title, int timeoutMs) {
  HWND dialog = nullptr;
  WaitUntil(
      [&] {
        dialog = FindTopLevel(pi_.dwProcessId, [&](HWND hwnd) {
          return IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770" && WindowText(hwnd) == title;
        });
        return dialog != nullptr;
      },
      timeoutMs);
  return dialog;
}

void App::ChooseInFileDialog(HWND dialog, std::wstring_view name) {
  const std::wstring value(name);
  HWND nameBox = GetDlgItem(dialog, kFileNameBoxId);
  ASSERT_NE(nameBox, nullptr) << "the file dialog has no name box";
  SendMessageTimeoutW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()), SMTO_ABORTIFHUNG, 3000,
                      nullptr);
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

void App::CancelFileDialog(HWND dialog) {
  PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

void App::Foreground() {
  SetForegroundWindow(main_);
  WaitUntil([&] { return GetForegroundWindow() == main_; }, 1000);
}

void App::TypeText(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void App::PressKey(WORD vk, bool ctrl) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD code, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  if (ctrl) key(VK_CONTROL, 0);
  key(vk, 0);
  key(vk, KEYEVENTF_KEYUP);
  if (ctrl) key(VK_CONTROL, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void App::ClickAt(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  // Each event carries the point itself: the cursor set above reaches the input queue through the X
  // server, and a slow program may still see the button at the earlier place.
  const LONG x = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  const LONG y = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  INPUT inputs[3] = {};
  const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dx = x;
    inputs[i].mi.dy = y;
    inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  SendInput(3, inputs, sizeof(INPUT));
}

void App::PointAt(POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

std::wstring App::ShownToolTip() const {
  std::vector<HWND> tips;
  EnumWindows(&CollectToolTips, reinterpret_cast<LPARAM>(&tips));
  for (HWND tip : tips) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tip, &pid);
    // The tooltip control answers WM_GETTEXT with the tip it shows.
    if (pid == pi_.dwProcessId && IsWindowVisible(tip)) return WindowText(tip);
  }
  return L"";
}

void App::Screenshot(std::wstring_view fileName, const RECT* area) const {
  const std::wstring folder = ArtifactsFolder();
  if (folder.empty()) return;
  RECT rect{};
  if (area) {
    rect = *area;
  } else {
    GetWindowRect(main_, &rect);
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  // The first paint can take a while (loading the Chinese font): wait until the program answers,
  // then until the screen has stopped changing for a few grabs.
  SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
  std::vector<DWORD> pixels;
  int unchanged = 0;
  WaitUntil(
      [&] {
        HDC screen = GetDC(nullptr);
        std::vector<DWORD> grabbed = Grab(screen, rect.left, rect.top, width, height);
        ReleaseDC(nullptr, screen);
        unchanged = grabbed == pixels ? unchanged + 1 : 0;
        pixels = std::move(grabbed);
        if (unchanged < 4) Sleep(100);
        return unchanged >= 4;
      },
      5000);
  WriteBmp(folder + L"\\" + std::wstring(fileName), pixels, width, height);
}

// ---- files

std::optional<std::wstring> VersionString(const std::wstring& file, const std::wstring& key) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (!size) return std::nullopt;
  std::vector<char> data(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return std::nullopt;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), key.c_str(), &value, &length) || !value) return std::nullopt;
  std::wstring text(static_cast<wchar_t*>(value), length);
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

std::optional<FileFacts> ReadFacts(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileFacts facts;
  facts.attributes = data.dwFileAttributes;
  facts.creation = data.ftCreationTime;
  facts.access = data.ftLastAccessTime;
  facts.write = data.ftLastWriteTime;
  return facts;
}

std::string UtcText(const FILETIME& time) {
  SYSTEMTIME st{};
  FileTimeToSystemTime(&time, &st);
  char text[40];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", st.wYear, st.wMonth, st.wDay,
                st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
  return text;
}

}  // namespace timrose::gui
