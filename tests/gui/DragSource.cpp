#include "tests/gui/DragSource.h"

#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <mutex>
#include <thread>

#include "platform/win32/Handles.h"
#include "tests/DropFileList.h"
#include "tests/gui/Driver.h"

namespace timrose::gui {
namespace {

constexpr int kPollMs = 5;
constexpr int kSteps = 6;

using Clock = std::chrono::steady_clock;

bool WaitFor(const std::atomic<bool>& stop, Clock::time_point end, const auto& condition) {
  while (!condition()) {
    if (stop || Clock::now() > end) return condition();
    Sleep(kPollMs);
  }
  return true;
}

// The medium's bytes are built once; every GetData hands out a fresh copy, since the receiver
// frees what it gets.
std::vector<char> MediumBytes(const DragData& data) {
  std::vector<char> bytes;
  if (data.kind == DragData::Kind::kText) {
    const std::wstring text = data.text + L'\0';
    bytes.resize(text.size() * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
  }
  return DropFileList(data.files);
}

class DataObject final : public win32::ComObject<IDataObject> {
 public:
  explicit DataObject(const DragData& data)
      : format_{static_cast<CLIPFORMAT>(data.kind == DragData::Kind::kText ? CF_UNICODETEXT : CF_HDROP),
                nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
        bytes_(MediumBytes(data)) {}

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_INVALIDARG;
    if (!Offers(*format)) return DV_E_FORMATETC;
    HGLOBAL copy = GlobalCopy(bytes_);
    if (!copy) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format && Offers(*format) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    return SHCreateStdEnumFmtEtc(1, &format_, out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  ~DataObject() = default;
  bool Offers(const FORMATETC& format) const {
    return format.cfFormat == format_.cfFormat && (format.tymed & TYMED_HGLOBAL) &&
           format.dwAspect == DVASPECT_CONTENT;
  }

  FORMATETC format_;
  std::vector<char> bytes_;
};

// Drops when the left button goes up, cancels on Esc or when the watchdog asks. It also tells
// the mouse thread what the drag loop has seen: the effect of the window under the mouse, and
// how many times the loop has looked at the state.
class DropSource final : public win32::ComObject<IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    ++looks;
    if (escape || cancel) {
      decided = true;
      return DRAGDROP_S_CANCEL;
    }
    if (!(keys & MK_LBUTTON)) {
      released = effect != DROPEFFECT_NONE;
      decided = true;
      return DRAGDROP_S_DROP;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD shown) override {
    effect = shown & ~static_cast<DWORD>(DROPEFFECT_SCROLL);
    if (effect != DROPEFFECT_NONE) accepted = true;
    return DRAGDROP_S_USEDEFAULTCURSORS;
  }

  std::atomic<long> looks{0};
  std::atomic<DWORD> effect{DROPEFFECT_NONE};
  std::atomic<bool> accepted{false}, released{false}, decided{false}, cancel{false};

 private:
};

// Every event carries its own absolute position: a button event without one happens wherever the
// system's cursor is at that moment, and the display may still be catching up with an earlier
// move.
void SendMouse(DWORD flags, POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  // Rounded up so that the system's scaling back to pixels lands on the pixel itself.
  const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = static_cast<LONG>((at.x * 65536L + width - 1) / width);
  input.mi.dy = static_cast<LONG>((at.y * 65536L + height - 1) / height);
  SendInput(1, &input, sizeof input);
}

void MoveMouse(POINT to) {
  SendMouse(0, to);
}

bool LeftButtonDown() {
  return GetAsyncKeyState(VK_LBUTTON) & 0x8000;
}

LRESULT CALLBACK GripProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A small topmost window of the dragging thread, centred on the start point.
HWND MakeGrip(POINT at) {
  static const ATOM kind = [] {
    WNDCLASSW grip{};
    grip.lpfnWndProc = GripProc;
    grip.hInstance = GetModuleHandleW(nullptr);
    grip.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    grip.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    grip.lpszClassName = L"TimroseTestDragGrip";
    return RegisterClassW(&grip);
  }();
  HWND grip =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MAKEINTATOM(kind), L"", WS_POPUP | WS_VISIBLE,
                      at.x - 16, at.y - 16, 32, 32, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(grip);
  return grip;
}

// Handles this thread's messages until the press on the grip has been taken from the queue,
// which is when the thread's key state shows the button down.
bool PumpUntilPressed(HWND grip) {
  const auto end = Clock::now() + std::chrono::milliseconds(3000);
  while (Clock::now() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      const bool press = message.message == WM_LBUTTONDOWN && message.hwnd == grip;
      TranslateMessage(&message);
      DispatchMessageW(&message);
      if (press) return true;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
  }
  return false;
}

// The mouse side of a drag, on its own thread while the dragging thread sits in DoDragDrop:
// moves onto the target in steps, each one seen by the drag loop, and releases the button once
// the target has accepted. Anything that does not happen in time ends the drag from outside.
void Steer(DropSource& source, DWORD dragThread, POINT from, POINT to, int watchdogMs, DragResult& result,
           const std::atomic<bool>& returned) {
  const auto end = Clock::now() + std::chrono::milliseconds(watchdogMs);
  auto seen = [&](long before) { return source.looks >= before + 2; };
  for (int step = 1; step <= kSteps && !source.decided; ++step) {
    const long before = source.looks;
    MoveMouse({from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps});
    WaitFor(returned, end, [&] { return seen(before) || source.decided; });
  }
  const char* early = "the drag ended before the mouse reached the target";
  if (source.decided) {
    result.problem = early;
  } else if (!WaitFor(returned, end, [&] { return source.effect != DROPEFFECT_NONE || source.decided; })) {
    result.problem = "the target never accepted the drag";
    result.watchdog = true;
    source.cancel = true;
  } else if (source.decided) {
    result.problem = early;
  }
  SendMouse(MOUSEEVENTF_LEFTUP, to);
  const auto released = Clock::now() + std::chrono::milliseconds(watchdogMs);
  if (!WaitFor(returned, released, [&] { return source.decided.load(); }) && !returned) {
    // Esc first, as a user would; the drop source also cancels at its next look.
    if (result.problem.empty()) result.problem = "the button-up did not end the drag";
    result.watchdog = true;
    source.cancel = true;
    PostThreadMessageW(dragThread, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostThreadMessageW(dragThread, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  }
}

}  // namespace

DragData DragData::Files(std::vector<std::wstring> paths) {
  DragData data;
  data.kind = Kind::kFiles;
  data.files = std::move(paths);
  return data;
}

DragData DragData::Text(std::wstring text) {
  DragData data;
  data.kind = Kind::kText;
  data.text = std::move(text);
  return data;
}

POINT Centre(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT PointOutside(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const POINT candidates[] = {{rect.right + 40, rect.top + 30},
                              {rect.left - 40, rect.top + 30},
                              {rect.left + 30, rect.bottom + 40},
                              {rect.left + 30, rect.top - 40}};
  for (const POINT& point : candidates) {
    if (point.x < 5 || point.y < 5 || point.x >= width - 5 || point.y >= height - 5) continue;
    if (GetAncestor(WindowFromPoint(point), GA_ROOT) == window) continue;
    return point;
  }
  return {5, 5};
}

DragResult DragAndDrop(const DragData& data, POINT from, POINT to, int watchdogMs) {
  DragResult result;
  const HRESULT ole = OleInitialize(nullptr);
  if (FAILED(ole)) {
    result.result = ole;
    result.problem = "OLE did not start on the dragging thread";
    return result;
  }
  {
    IDataObject* object = new DataObject(data);
    auto* source = new DropSource;

    // The button goes down on a window of this thread outside the program, where a user would
    // pick the files up: the press makes this thread the one that owns the mouse, so the drag
    // loop's capture gets every move and the button-up, and its key state shows the button.
    HWND grip = MakeGrip(from);
    MoveMouse(from);
    SendMouse(MOUSEEVENTF_LEFTDOWN, from);
    if (PumpUntilPressed(grip)) {
      std::atomic<bool> returned{false};
      const DWORD dragThread = GetCurrentThreadId();
      std::thread mouse([&] { Steer(*source, dragThread, from, to, watchdogMs, result, returned); });
      DWORD effect = DROPEFFECT_NONE;
      result.result = DoDragDrop(object, source, data.allowed, &effect);
      returned = true;
      mouse.join();
      result.effect = effect;
      result.accepted = source->accepted;
      result.released = source->released;
    } else {
      result.problem = "the button did not go down on the drag's start window";
      result.watchdog = true;
    }
    // Never leave the button held for whatever runs next.
    if (LeftButtonDown()) {
      POINT at = to;
      GetCursorPos(&at);
      SendMouse(MOUSEEVENTF_LEFTUP, at);
    }
    DestroyWindow(grip);
    source->Release();
    object->Release();
  }
  OleUninitialize();
  return result;
}

// ---- Drags out of the program

struct DropWindowState {
  std::mutex lock;
  DropSeen seen;
  DWORD dropAnswer = DROPEFFECT_NONE;
};

namespace {

// The text of one format, up to its terminator; a text without one within its block counts as
// not delivered.
template <typename Char>
std::optional<std::basic_string<Char>> ReadText(IDataObject* data, CLIPFORMAT format) {
  FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&wanted, &medium))) return std::nullopt;
  std::optional<std::basic_string<Char>> text;
  const auto* chars =
      medium.tymed == TYMED_HGLOBAL ? static_cast<const Char*>(GlobalLock(medium.hGlobal)) : nullptr;
  if (chars) {
    const size_t limit = GlobalSize(medium.hGlobal) / sizeof(Char);
    size_t length = 0;
    while (length < limit && chars[length]) ++length;
    if (length < limit) text.emplace(chars, length);
    GlobalUnlock(medium.hGlobal);
  }
  ReleaseStgMedium(&medium);
  return text;
}

class TextTarget final : public win32::ComObject<IDropTarget> {
 public:
  explicit TextTarget(std::shared_ptr<DropWindowState> state) : state_(std::move(state)) {}

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    std::lock_guard hold(state_->lock);
    return Answer(effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    std::lock_guard hold(state_->lock);
    ++state_->seen.overs;
    return Answer(effect);
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    std::lock_guard hold(state_->lock);
    ++state_->seen.leaves;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    if (!data || !effect) return E_INVALIDARG;
    // Calls back into the dragging program: made before taking the lock.
    auto unicode = ReadText<wchar_t>(data, CF_UNICODETEXT);
    auto ansi = ReadText<char>(data, CF_TEXT);
    std::lock_guard hold(state_->lock);
    ++state_->seen.drops;
    state_->seen.offered = *effect;
    state_->seen.unicode = std::move(unicode);
    state_->seen.ansi = std::move(ansi);
    *effect = state_->dropAnswer;
    return S_OK;
  }

 private:
  ~TextTarget() = default;
  // Called with the lock held.
  HRESULT Answer(DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    state_->seen.offered = *effect;
    *effect = (*effect & state_->dropAnswer) ? state_->dropAnswer : (*effect & DROPEFFECT_COPY);
    return S_OK;
  }

  std::shared_ptr<DropWindowState> state_;
};

LRESULT CALLBACK DropWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    RevokeDragDrop(hwnd);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The drop window's thread: OLE, the window and its target, and the messages that carry the
// dragging program's calls, until the window is closed.
void RunDropWindow(RECT where, std::shared_ptr<DropWindowState> state, std::promise<HWND>& ready) {
  const bool ole = SUCCEEDED(OleInitialize(nullptr));
  static const ATOM kind = [] {
    WNDCLASSW target{};
    target.lpfnWndProc = DropWindowProc;
    target.hInstance = GetModuleHandleW(nullptr);
    target.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    target.hbrBackground = GetSysColorBrush(COLOR_INFOBK);
    target.lpszClassName = L"TimroseTestDropWindow";
    return RegisterClassW(&target);
  }();
  HWND window =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, MAKEINTATOM(kind), L"",
                      WS_POPUP | WS_BORDER, where.left, where.top, where.right - where.left,
                      where.bottom - where.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  auto* target = new TextTarget(std::move(state));
  if (window && !(ole && SUCCEEDED(RegisterDragDrop(window, target)))) {
    DestroyWindow(window);
    window = nullptr;
  }
  if (window) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
  }
  ready.set_value(window);
  MSG message;
  while (window && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  target->Release();
  if (ole) OleUninitialize();
}

void SendKey(WORD vk) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

void SendShift(bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = VK_SHIFT;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(INPUT));
}

}  // namespace

DropWindow::DropWindow(RECT where, DWORD dropAnswer) : state_(std::make_shared<DropWindowState>()) {
  state_->dropAnswer = dropAnswer;
  std::promise<HWND> ready;
  std::future<HWND> created = ready.get_future();
  thread_ = std::thread(
      [where, state = state_, ready = std::move(ready)]() mutable { RunDropWindow(where, state, ready); });
  window_ = created.get();
}

DropWindow::~DropWindow() {
  if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  thread_.join();
}

DropSeen DropWindow::Seen() const {
  std::lock_guard hold(state_->lock);
  return state_->seen;
}

MouseDrag::MouseDrag(HWND program) : program_(program), thread_(GetWindowThreadProcessId(program, nullptr)) {}

MouseDrag::~MouseDrag() {
  if (!down_) return;
  if (Capture()) PostMessageW(program_, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  SendMouse(MOUSEEVENTF_LEFTUP, at_);
  if (shift_) SendShift(false);
  Settle();
}

HWND MouseDrag::Capture() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread_, &info) ? info.hwndCapture : nullptr;
}

// Sent messages are handled before the queued input, so the second round trip returns only
// after the program's thread has taken whatever input was queued before the first.
void MouseDrag::Settle() const {
  for (int round = 0; round < 2; ++round) {
    SendMessageTimeoutW(program_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
  }
}

bool MouseDrag::Press(POINT at, bool shift) {
  at_ = at;
  // A button still held from whatever ran before would swallow this press.
  if (LeftButtonDown()) SendMouse(MOUSEEVENTF_LEFTUP, at);
  MoveMouse(at);
  Settle();
  shift_ = shift;
  if (shift_) HoldShift();
  SendMouse(MOUSEEVENTF_LEFTDOWN, at);
  down_ = true;
  Settle();
  // A loaded machine (or the emulated 32-bit program) may take the press later still.
  return WaitUntil([&] { return Capture() != nullptr; }, 5000);
}

void MouseDrag::MoveTo(POINT to, int steps) {
  const POINT from = at_;
  for (int step = 1; step <= steps; ++step) {
    at_ = {from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps};
    MoveMouse(at_);
    Settle();
  }
}

bool MouseDrag::WaitLetGo(int timeoutMs) {
  const auto free = [&] { return Capture() == nullptr; };
  if (WaitUntil(free, timeoutMs)) return true;
  // The watchdog: Esc ends any drag loop that is still running.
  PostMessageW(program_, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageW(program_, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  WaitUntil(free, 2000);
  return false;
}

// Shift sent just after a move of the mouse can go up again by itself a moment later (seen with the
// emulated 32-bit program): Wine brings the modifier keys back in line with the X server's keyboard,
// where Shift is up, when the move's X events are handled. So Shift goes down again until two round
// trips to the program have left it down.
void MouseDrag::HoldShift() const {
  for (int tries = 0, steady = 0; tries < 50 && steady < 2; ++tries) {
    if (!(GetAsyncKeyState(VK_SHIFT) & 0x8000)) {
      steady = 0;
      SendShift(true);
    } else {
      ++steady;
    }
    Settle();
  }
}

bool MouseDrag::Release(int timeoutMs) {
  SendMouse(MOUSEEVENTF_LEFTUP, at_);
  if (shift_) SendShift(false);
  down_ = false;
  return WaitLetGo(timeoutMs);
}

bool MouseDrag::Escape(int timeoutMs) {
  SendKey(VK_ESCAPE);
  const bool ended = WaitLetGo(timeoutMs);
  SendMouse(MOUSEEVENTF_LEFTUP, at_);
  if (shift_) SendShift(false);
  down_ = false;
  Settle();
  return ended;
}

}  // namespace timrose::gui
