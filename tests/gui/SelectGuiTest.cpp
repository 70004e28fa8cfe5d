// Naming a file in the real program: the file-open dialog behind "选择文件", and real OLE drags
// from this process onto the path box.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/gui/DragSource.h"
#include "tests/gui/Driver.h"

namespace timrose::gui {
namespace {

const char kRefusal[] = "请勿拖拽其他内容,如我的电脑,网上邻居,回收站,文本,网站,图像等.";
const wchar_t kDialogTitle[] = L"选择文件";
const char kNoFile[] = "大小:当前没有选择文件";
// The file-open dialog's filter list.
constexpr int kFilterComboId = 0x470;

// Two time stamps of a file in UTC, and the parts of them that the window must show in local
// time (year and ":mm:ss", which stay the same whatever the short date and hour formats are).
struct Stamps {
  SYSTEMTIME write, access;
};

const Stamps kFirst{{2011, 3, 4, 3, 7, 4, 5, 0}, {2012, 4, 4, 5, 6, 7, 8, 0}};
const Stamps kSecond{{2013, 6, 5, 7, 11, 2, 3, 0}, {2014, 8, 6, 9, 12, 3, 4, 0}};

FILETIME ToFileTime(const SYSTEMTIME& time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return file;
}

// The window shifts by the zone's Bias alone, so that is what the expectation uses too.
std::pair<std::string, std::string> LocalParts(const SYSTEMTIME& utc) {
  TIME_ZONE_INFORMATION zone{};
  GetTimeZoneInformation(&zone);
  ULARGE_INTEGER value;
  const FILETIME file = ToFileTime(utc);
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  value.QuadPart -= static_cast<long long>(zone.Bias) * 60 * 10000000LL;
  const FILETIME shifted{value.LowPart, value.HighPart};
  SYSTEMTIME local{};
  FileTimeToSystemTime(&shifted, &local);
  char clock[16];
  std::snprintf(clock, sizeof clock, ":%02u:%02u", local.wMinute, local.wSecond);
  return {std::to_string(local.wYear), clock};
}

// Gives an existing file a size and the two stamps, as another program changing it would.
void Rewrite(const std::wstring& path, long long size, const Stamps& stamps) {
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE) << Utf8(path);
  LARGE_INTEGER end;
  end.QuadPart = size;
  SetFilePointerEx(handle, end, nullptr, FILE_BEGIN);
  SetEndOfFile(handle);
  const FILETIME write = ToFileTime(stamps.write), access = ToFileTime(stamps.access);
  EXPECT_TRUE(SetFileTime(handle, nullptr, &access, &write));
  CloseHandle(handle);
}

std::wstring MakeFile(TempFolder& folder, std::wstring_view name, long long size, const Stamps& stamps) {
  const std::wstring path = folder.MakeFile(name, size);
  Rewrite(path, size, stamps);
  return path;
}

// Named with Hangul, an emoji and Chinese, in a folder about 300 characters deep; 30 bytes.
const wchar_t kDeepName[] = L"회의록 📅 会议记录.txt";
std::wstring MakeDeepFile(TempFolder& folder) {
  std::wstring deepFolder;
  while (folder.Path().size() + deepFolder.size() < 280) {
    deepFolder +=
        std::wstring(deepFolder.empty() ? L"" : L"\\") + L"深层文件夹深层文件夹深层文件夹深层文件夹";
    folder.MakeFolder(deepFolder);
  }
  return MakeFile(folder, deepFolder + L"\\" + kDeepName, 30, kSecond);
}

std::string SizeCaption(long long size) {
  return "大小: " + std::to_string(size) + " 字节";
}

// The window shows `path` as inspected just now: its times, its size, btnSet on, the focus in
// the path box (unless a box of the program holds it).
void ExpectShows(const App& app, const std::wstring& path, long long size, const Stamps& stamps,
                 bool focus = true) {
  // A drop is handled from the window's queue, after the drag has ended.
  WaitUntil([&] { return app.Text("txtPath") == path && Utf8(app.Text("lblSize")) == SizeCaption(size); });
  EXPECT_EQ(Utf8(app.Text("txtPath")), Utf8(path));
  EXPECT_TRUE(app.Enabled("btnSet"));
  for (const char* box : {"txtTime(0)", "txtTime(1)", "txtTime(2)"}) EXPECT_NE(app.Text(box), L"") << box;
  const std::string written = Utf8(app.Text("txtTime(1)")), accessed = Utf8(app.Text("txtTime(2)"));
  for (const auto& [shown, stamp] : {std::pair{written, stamps.write}, std::pair{accessed, stamps.access}}) {
    const auto [year, clock] = LocalParts(stamp);
    EXPECT_NE(shown.find(year), std::string::npos) << shown << " lacks " << year;
    EXPECT_NE(shown.find(clock), std::string::npos) << shown << " lacks " << clock;
  }
  EXPECT_EQ(Utf8(app.Text("lblSize")), SizeCaption(size));
  EXPECT_NE(app.ToolTip("lblSize"), L"");
  if (focus) {
    EXPECT_TRUE(app.WaitFocus("txtPath")) << app.Focus();
  }
}

void ExpectEmpty(const App& app) {
  EXPECT_EQ(app.Text("txtPath"), L"");
  EXPECT_FALSE(app.Enabled("btnSet"));
  for (const char* box : {"txtTime(0)", "txtTime(1)", "txtTime(2)"}) EXPECT_EQ(app.Text(box), L"") << box;
  EXPECT_EQ(Utf8(app.Text("lblSize")), kNoFile);
}

std::wstring DialogText(HWND dialog, int id) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 3000, &copied);
  return text;
}

// Clicks "选择文件" and waits for the dialog; returns what its name box starts with.
HWND OpenDialog(App& app, std::wstring* startName = nullptr) {
  app.Click("btnGet");
  HWND dialog = app.WaitFileDialog(kDialogTitle);
  EXPECT_NE(dialog, nullptr) << "no dialog titled 选择文件";
  if (dialog && startName) *startName = DialogText(dialog, 0x47C);
  return dialog;
}

// The dialog starts with the name it was given: shown whole, or split into its folder (where
// the dialog opens) and the name in the name box.
void ExpectStartsWith(const std::wstring& startName, const std::wstring& path) {
  const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
  EXPECT_TRUE(startName == path || startName == name) << Utf8(startName) << " for " << Utf8(path);
}

void Pick(App& app, const std::wstring& path) {
  HWND dialog = OpenDialog(app);
  ASSERT_NE(dialog, nullptr);
  app.ChooseInFileDialog(dialog, path);
  app.ExpectNoBox();
}

// Drags onto the middle of the path box on the action thread; the result is valid once the
// action has ended.
void DragOntoPath(App& app, DragData data, DragResult& result) {
  const POINT from = PointOutside(app.Main()), to = Centre(app.ScreenRect("txtPath"));
  app.Run([data = std::move(data), from, to, &result] { result = DragAndDrop(data, from, to); });
}

void ExpectDropped(const DragResult& result) {
  EXPECT_EQ(result.problem, "");
  EXPECT_FALSE(result.watchdog);
  EXPECT_TRUE(result.accepted);
  EXPECT_TRUE(result.released);
  EXPECT_EQ(result.result, DRAGDROP_S_DROP);
  EXPECT_EQ(result.effect, static_cast<DWORD>(DROPEFFECT_COPY));
}

TEST(SelectDialog, PickingAFileFillsTheWindowAndPickingItAgainReadsItFresh) {
  TempFolder folder;
  const std::wstring path = MakeFile(folder, L"选中的文件.txt", 1234, kFirst);
  App app;
  ASSERT_TRUE(app.Started());

  std::wstring startName = L"?";
  HWND dialog = OpenDialog(app, &startName);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(startName, L"");
  EXPECT_EQ(Utf8(DialogText(dialog, kFilterComboId)), "所有文件(*.*)");
  app.ChooseInFileDialog(dialog, path);
  app.ExpectNoBox();
  ExpectShows(app, path, 1234, kFirst);
  app.Screenshot(L"select-picked.bmp");

  // Changed behind the window's back: the same pick must show the file as it is now.
  Rewrite(path, 98765, kSecond);
  dialog = OpenDialog(app, &startName);
  ASSERT_NE(dialog, nullptr);
  ExpectStartsWith(startName, path);
  app.ChooseInFileDialog(dialog, path);
  app.ExpectNoBox();
  ExpectShows(app, path, 98765, kSecond);
}

TEST(SelectDialog, CancelBeforeAnyPickLeavesTheBoxEmptyAndFocusesTheButton) {
  App app;
  ASSERT_TRUE(app.Started());
  HWND dialog = OpenDialog(app);
  ASSERT_NE(dialog, nullptr);
  app.CancelFileDialog(dialog);
  app.ExpectNoBox();
  EXPECT_FALSE(IsWindow(dialog) && IsWindowVisible(dialog));
  ExpectEmpty(app);
  EXPECT_TRUE(app.WaitFocus("btnGet")) << app.Focus();
}

TEST(SelectDialog, CancelAfterAPickOrADropPutsThatFileBackAndReadsItAgain) {
  TempFolder folder;
  const std::wstring picked = MakeFile(folder, L"picked.bin", 100, kFirst);
  const std::wstring dropped = MakeFile(folder, L"dropped.bin", 200, kFirst);
  App app;
  ASSERT_TRUE(app.Started());

  Pick(app, picked);
  ExpectShows(app, picked, 100, kFirst);
  Rewrite(picked, 300, kSecond);
  std::wstring startName;
  HWND dialog = OpenDialog(app, &startName);
  ASSERT_NE(dialog, nullptr);
  ExpectStartsWith(startName, picked);
  app.CancelFileDialog(dialog);
  app.ExpectNoBox();
  ExpectShows(app, picked, 300, kSecond);

  // A file read after the last pick is the one a cancel brings back.
  DragResult result;
  DragOntoPath(app, DragData::Files({dropped}), result);
  app.ExpectNoBox();
  ExpectDropped(result);
  ExpectShows(app, dropped, 200, kFirst);
  Rewrite(dropped, 400, kSecond);
  dialog = OpenDialog(app, &startName);
  ASSERT_NE(dialog, nullptr);
  ExpectStartsWith(startName, dropped);
  app.CancelFileDialog(dialog);
  app.ExpectNoBox();
  ExpectShows(app, dropped, 400, kSecond);
}

// The first dialog opens in C:\\. After a file deeper than the dialog takes a start name, it opens
// (rather than returning at once) with the bare name in its name box, and a cancel reads that
// file again. Choosing the file there is not tried: Wine's own dialog overruns a buffer on a
// chosen path of MAX_PATH characters or more.
TEST(SelectDialog, OpensInTheRootFirstAndInADeepFilesFolderAfterIt) {
  const std::wstring rootName = L"timrose-start-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  const std::wstring inRoot = L"C:\\" + rootName;
  CloseHandle(CreateFileW(inRoot.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  Rewrite(inRoot, 11, kFirst);
  TempFolder folder;
  const std::wstring deep = MakeDeepFile(folder);
  App app;
  ASSERT_TRUE(app.Started());
  HWND dialog = OpenDialog(app);
  ASSERT_NE(dialog, nullptr);
  app.ChooseInFileDialog(dialog, rootName);
  app.ExpectNoBox();
  ExpectShows(app, inRoot, 11, kFirst);
  DeleteFileW(inRoot.c_str());

  DragResult result;
  DragOntoPath(app, DragData::Files({deep}), result);
  app.ExpectNoBox();
  ExpectShows(app, deep, 30, kSecond);
  Rewrite(deep, 31, kFirst);
  std::wstring startName;
  dialog = OpenDialog(app, &startName);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(startName, kDeepName);
  app.CancelFileDialog(dialog);
  app.ExpectNoBox();
  ExpectShows(app, deep, 31, kFirst);
}

TEST(SelectDrop, DroppingFilesTakesTheFirstAndDroppingItAgainReadsItFresh) {
  TempFolder folder;
  const std::wstring first = MakeFile(folder, L"第一个.dat", 4096, kFirst);
  const std::wstring second = MakeFile(folder, L"second.dat", 10, kSecond);
  const std::wstring third = MakeFile(folder, L"third.dat", 20, kSecond);
  const std::wstring deep = MakeDeepFile(folder);
  ASSERT_GT(deep.size(), 300u);
  const struct {
    const char* name;
    std::vector<std::wstring> files;
  } cases[] = {
      {"one file", {first}},
      {"three files", {first, second, third}},
      {"the first listed last", {second, third, first}},
      {"a Unicode name 300 characters deep", {deep, first}},
  };
  for (const auto& drop : cases) {
    SCOPED_TRACE(drop.name);
    Rewrite(first, 4096, kFirst);
    Rewrite(second, 10, kSecond);
    App app;
    ASSERT_TRUE(app.Started());
    DragResult result;
    DragOntoPath(app, DragData::Files(drop.files), result);
    app.ExpectNoBox();
    ExpectDropped(result);
    const std::wstring& taken = drop.files.front();
    if (taken == first) {
      ExpectShows(app, first, 4096, kFirst);
    } else if (taken == second) {
      ExpectShows(app, second, 10, kSecond);
    } else {
      ExpectShows(app, deep, 30, kSecond);
      // And applies: a new last write time, to the second, and the hidden attribute.
      const std::optional<FileFacts> before = ReadFacts(deep);
      ASSERT_TRUE(before.has_value());
      // The creation time too: Wine keeps none and shows the last write time in its place.
      app.SetText("txtTime(0)", L"2015-06-07 18:09:10");
      app.ExpectNoBox();
      app.SetText("txtTime(1)", L"2015-06-07 18:09:10");
      app.ExpectNoBox();
      app.Click("chkHide");
      app.ExpectNoBox();
      app.Click("btnSet");
      const MessageBoxInfo box = app.ExpectBox();
      ASSERT_TRUE(box);
      EXPECT_EQ(Utf8(box.text), "设置成功");
      app.Answer(box, IDOK);
      const std::optional<FileFacts> after = ReadFacts(deep);
      ASSERT_TRUE(after.has_value());
      SYSTEMTIME written{};
      FileTimeToSystemTime(&after->write, &written);
      EXPECT_EQ(LocalParts(written), (std::pair<std::string, std::string>{"2015", ":09:10"}));
      EXPECT_EQ(UtcText(after->access).substr(0, 19), UtcText(before->access).substr(0, 19));
      EXPECT_TRUE(after->attributes & FILE_ATTRIBUTE_HIDDEN);
    }
  }

  // The file on show, changed and dropped again, is read again.
  App app;
  ASSERT_TRUE(app.Started());
  DragResult result;
  DragOntoPath(app, DragData::Files({first}), result);
  app.ExpectNoBox();
  ExpectShows(app, first, 4096, kFirst);
  Rewrite(first, 5000, kSecond);
  DragOntoPath(app, DragData::Files({first}), result);
  app.ExpectNoBox();
  ExpectDropped(result);
  ExpectShows(app, first, 5000, kSecond);
}

TEST(SelectDrop, TextIsRefusedWithANoticeAndThePathBoxKeepsItsPath) {
  TempFolder folder;
  const std::wstring path = MakeFile(folder, L"kept.txt", 77, kFirst);
  for (const bool filled : {false, true}) {
    SCOPED_TRACE(filled ? "filled box" : "empty box");
    App app;
    ASSERT_TRUE(app.Started());
    if (filled) {
      Pick(app, path);
      ExpectShows(app, path, 77, kFirst);
      // Changed meanwhile: the box's path is inspected again before the notice shows.
      Rewrite(path, 88, kSecond);
    }
    DragResult result;
    DragOntoPath(app, DragData::Text(L"C:\\just\\some\\text.txt"), result);
    const MessageBoxInfo box = app.ExpectBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Utf8(box.title), "提示");
    EXPECT_EQ(Utf8(box.text), kRefusal);
    EXPECT_EQ(box.icon, kIconInformation);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    // The box comes from the window's own queue: the drag source was let go before it showed.
    EXPECT_TRUE(WaitUntil([&] { return app.ActionDone(); }));
    if (filled) {
      ExpectShows(app, path, 88, kSecond, false);
    } else {
      ExpectEmpty(app);
    }
    app.Screenshot(filled ? L"select-text-drop-filled.bmp" : L"select-text-drop-empty.bmp", &box.rect);
    app.Answer(box, IDOK);
    app.ExpectNoBox();
    EXPECT_TRUE(result.accepted);
    EXPECT_TRUE(result.released);
    EXPECT_FALSE(result.watchdog) << result.problem;
    EXPECT_EQ(result.result, DRAGDROP_S_DROP);
    if (filled) {
      ExpectShows(app, path, 88, kSecond);
    } else {
      ExpectEmpty(app);
    }
  }
}

TEST(SelectDrop, AFolderIsAskedAboutAfterTheDragHasEnded) {
  TempFolder folder;
  const std::wstring sub = folder.MakeFolder(L"拖入的文件夹");
  App app;
  ASSERT_TRUE(app.Started());
  DragResult result;
  DragOntoPath(app, DragData::Files({sub}), result);
  const MessageBoxInfo box = app.ExpectBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(Utf8(box.title), "提示");
  EXPECT_EQ(Utf8(box.text), "本工具不对文件夹进行操作\r\n\r\n如果需要保留文件夹相关信息,请选择\"是\"");
  EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
  // The source is free again while the question waits for its answer.
  EXPECT_TRUE(WaitUntil([&] { return app.ActionDone(); })) << "the drag is held by the question";
  ExpectDropped(result);
  app.Answer(box, IDYES);
  app.ExpectNoBox();
  EXPECT_EQ(app.Text("txtPath"), sub);
}

// Only the path box takes drops: neither the window nor its other controls accept a drag, and a
// source that allows only a move is told nothing can be taken; either drag is ended by the
// watchdog, and the program and the dragged file are left as they were.
TEST(SelectDrop, ADragNotTakenIsEndedByTheWatchdogAndLeavesTheFile) {
  TempFolder folder;
  const std::wstring path = MakeFile(folder, L"elsewhere.txt", 5, kFirst);
  for (const bool moveOnto : {false, true}) {
    SCOPED_TRACE(moveOnto ? "a move onto the path box" : "a copy onto a button");
    App app;
    ASSERT_TRUE(app.Started());
    DragResult result;
    // Up from below the window, so that the way crosses no part of the path box.
    RECT window{};
    GetWindowRect(app.Main(), &window);
    const POINT to = Centre(app.ScreenRect(moveOnto ? "txtPath" : "btnGet")), from{to.x, window.bottom + 40};
    DragData data = DragData::Files({path});
    if (moveOnto) data.allowed = DROPEFFECT_MOVE;
    app.Run([&, data, from, to] { result = DragAndDrop(data, from, to, 1000); });
    app.ExpectNoBox();
    EXPECT_TRUE(result.watchdog);
    EXPECT_EQ(result.problem, "the target never accepted the drag");
    EXPECT_FALSE(result.accepted);
    EXPECT_FALSE(result.released);
    EXPECT_EQ(result.result, DRAGDROP_S_CANCEL);
    EXPECT_EQ(result.effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(GetAsyncKeyState(VK_LBUTTON) & 0x8000) << "the drag left the button held";
    ExpectEmpty(app);
    EXPECT_TRUE(ReadFacts(path).has_value()) << "the dragged file is gone";
  }
}

// ---- The path box as a drag source

// A point on character `index` of the path box's first line, in screen pixels.
POINT OnCharacter(const App& app, int index) {
  const LRESULT here = app.SendMessageTo("txtPath", EM_POSFROMCHAR, index, 0);
  const LRESULT next = app.SendMessageTo("txtPath", EM_POSFROMCHAR, index + 1, 0);
  POINT point{(static_cast<short>(LOWORD(here)) + static_cast<short>(LOWORD(next))) / 2,
              static_cast<short>(HIWORD(here)) + 5};
  ClientToScreen(app.Control("txtPath"), &point);
  return point;
}

// The whole path selected, as a user would before dragging it.
void SelectPath(App& app) {
  app.Foreground();
  app.SendMessageTo("txtPath", EM_SETSEL, 0, -1);
  ASSERT_TRUE(app.WaitFocus("txtPath")) << app.Focus();
}

std::string AnsiOf(const std::wstring& text) {
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, &lossy);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                      &lossy);
  EXPECT_FALSE(lossy) << "the test's path does not fit the ANSI code page " << GetACP();
  return bytes;
}

void ExpectSameFacts(const std::wstring& path, const FileFacts& before) {
  const std::optional<FileFacts> after = ReadFacts(path);
  ASSERT_TRUE(after.has_value());
  EXPECT_EQ(UtcText(after->write), UtcText(before.write));
  EXPECT_EQ(UtcText(after->access), UtcText(before.access));
  EXPECT_EQ(after->attributes, before.attributes);
}

TEST(DragOut, TheSelectedPathReachesAnotherProgramAsACopyAndStaysInTheBox) {
  TempFolder folder;
  const std::wstring path = MakeFile(folder, L"拖出的路径.txt", 321, kFirst);
  const std::string ansiPath = AnsiOf(path);
  App app;
  ASSERT_TRUE(app.Started());
  app.SetText("txtPath", path);
  app.ExpectNoBox();
  ExpectShows(app, path, 321, kFirst);
  // Changed behind the window's back: a change event or an inspection would now show it.
  Rewrite(path, 654, kSecond);
  const std::optional<FileFacts> facts = ReadFacts(path);
  ASSERT_TRUE(facts.has_value());

  RECT window{};
  GetWindowRect(app.Main(), &window);
  const RECT where{window.right + 40, window.top, window.right + 240, window.top + 120};
  const struct {
    const char* name;
    DWORD dropAnswer;
    bool escape;
  } cases[] = {
      {"dropped on a target that copies", DROPEFFECT_COPY, false},
      {"dropped on a target that answers with a move", DROPEFFECT_MOVE, false},
      {"Esc over the target", DROPEFFECT_COPY, true},
  };
  // Each case presses on another character: a press where the one before was, within the
  // double-click time, would be a double-click.
  int pressAt = 4;
  for (const auto& drop : cases) {
    SCOPED_TRACE(drop.name);
    DropWindow target(where, drop.dropAnswer);
    ASSERT_NE(target.Handle(), nullptr);
    SelectPath(app);
    MouseDrag drag(app.Main());
    ASSERT_TRUE(drag.Press(OnCharacter(app, pressAt)));
    pressAt += 8;
    drag.MoveTo(Centre(where));
    EXPECT_TRUE(WaitUntil([&] { return target.Seen().overs > 0; }, 10000))
        << "the drag never came over the target";
    if (drop.dropAnswer == DROPEFFECT_COPY && !drop.escape) {
      RECT both{};
      UnionRect(&both, &window, &where);
      app.Screenshot(L"drag-out-over-target.bmp", &both);
    }
    if (drop.escape) {
      EXPECT_TRUE(drag.Escape());
    } else {
      EXPECT_TRUE(drag.Release());
      EXPECT_TRUE(WaitUntil([&] { return target.Seen().drops > 0; }, 10000)) << "the target had no drop";
    }
    const DropSeen seen = target.Seen();
    EXPECT_EQ(seen.offered, static_cast<DWORD>(DROPEFFECT_COPY)) << "the copy effect only";
    if (drop.escape) {
      EXPECT_EQ(seen.drops, 0);
      EXPECT_EQ(seen.leaves, 1);
    } else {
      EXPECT_EQ(seen.drops, 1);
      EXPECT_EQ(Utf8(seen.unicode.value_or(L"(no CF_UNICODETEXT)")), Utf8(path));
      EXPECT_EQ(seen.ansi.value_or("(no CF_TEXT)"), ansiPath);
    }
    EXPECT_FALSE(app.NextBox(300));
    // No change event and no inspection: the window still shows what it read before.
    ExpectShows(app, path, 321, kFirst);
    ExpectSameFacts(path, *facts);
  }
}

TEST(DragOut, PressesBesideTheSelectionOrInPlaceActAsInAnyBoxAndADropBackOntoTheBoxIsRefused) {
  TempFolder folder;
  // Short enough for one line with room after it.
  const std::wstring path = MakeFile(folder, L"回.txt", 321, kFirst);
  App app;
  ASSERT_TRUE(app.Started());
  app.SetText("txtPath", path);
  app.ExpectNoBox();
  auto selection = [&] {
    const LRESULT range = app.SendMessageTo("txtPath", EM_GETSEL, 0, 0);
    return std::pair<int, int>{LOWORD(range), HIWORD(range)};
  };

  // Pressed and released on the selection: a caret, as a click gives.
  SelectPath(app);
  {
    MouseDrag click(app.Main());
    ASSERT_TRUE(click.Press(OnCharacter(app, 4)));
    EXPECT_TRUE(click.Release());
  }
  const auto [caret, caretEnd] = selection();
  EXPECT_EQ(caret, caretEnd) << "a click on the selection leaves a caret";
  EXPECT_GT(caret, 0);

  // Pressed just past the end of the selected text and moved back over it: a new selection.
  SelectPath(app);
  const LRESULT last = app.SendMessageTo("txtPath", EM_POSFROMCHAR, path.size() - 1, 0);
  POINT pastEnd{static_cast<short>(LOWORD(last)) + 12, static_cast<short>(HIWORD(last)) + 5};
  RECT client{};
  GetClientRect(app.Control("txtPath"), &client);
  ASSERT_LT(pastEnd.x, client.right - 2) << "no room after the path";
  ClientToScreen(app.Control("txtPath"), &pastEnd);
  {
    MouseDrag select(app.Main());
    ASSERT_TRUE(select.Press(pastEnd));
    select.MoveTo({pastEnd.x - 40, pastEnd.y});
    EXPECT_TRUE(select.Release());
  }
  const auto [start, end] = selection();
  EXPECT_GT(start, 0);
  EXPECT_EQ(end, static_cast<int>(path.size()));
  EXPECT_FALSE(app.NextBox(300));
  ExpectShows(app, path, 321, kFirst);

  // Pressed with Shift inside the selection and moved on: the selection grows from where it began.
  SelectPath(app);
  app.SendMessageTo("txtPath", EM_SETSEL, 1, 8);
  {
    MouseDrag extend(app.Main());
    ASSERT_TRUE(extend.Press(OnCharacter(app, 4), true));
    extend.MoveTo(OnCharacter(app, 14));
    EXPECT_TRUE(extend.Release());
  }
  const auto [from, to] = selection();
  EXPECT_EQ(from, 1);
  EXPECT_GT(to, 12);
  EXPECT_FALSE(app.NextBox(300));

  // The drop handler finds no file list in the dragged text: the notice, with the earlier path
  // put back and read again (changed meanwhile, so the new values show).
  Rewrite(path, 654, kSecond);
  SelectPath(app);
  const RECT box = app.ScreenRect("txtPath");
  MouseDrag drag(app.Main());
  // Away from the presses before, which a press at the same point could make a double-click.
  ASSERT_TRUE(drag.Press(OnCharacter(app, 10)));
  drag.MoveTo({box.right - 30, box.bottom - 12});
  EXPECT_TRUE(drag.Release());
  const MessageBoxInfo notice = app.ExpectBox();
  ASSERT_TRUE(notice);
  EXPECT_EQ(Utf8(notice.title), "提示");
  EXPECT_EQ(Utf8(notice.text), kRefusal);
  ExpectShows(app, path, 654, kSecond, false);
  RECT window{}, both{};
  GetWindowRect(app.Main(), &window);
  UnionRect(&both, &window, &notice.rect);
  app.Screenshot(L"drag-out-dropped-back.bmp", &both);
  app.Answer(notice, IDOK);
  ExpectShows(app, path, 654, kSecond);
}

}  // namespace
}  // namespace timrose::gui
