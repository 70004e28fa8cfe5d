// The handlers through the real program: inspection, keep-on-top and About, applying, the
// file-open dialog. Wine stores no creation time (it reports the last write time) and always
// reports archive on files.
#include <gtest/gtest.h>

#include <cwctype>

#include "tests/gui/Driver.h"
#include "window/frmFileAttribute.h"

namespace timrose::gui {
namespace {

::FILETIME Utc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms = 0) {
  ::SYSTEMTIME st{year, month, 0, day, hour, minute, second, ms};
  ::FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

void SetTimes(const std::wstring& path, const ::FILETIME& access, const ::FILETIME& write) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SetFileTime(file, &write, &access, &write);
  CloseHandle(file);
}

// The numbers of a date text in their order: the separators and their order are the locale's.
std::vector<int> Numbers(const std::wstring& text) {
  std::vector<int> numbers;
  int value = -1;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      value = (value < 0 ? 0 : value * 10) + (c - L'0');
    } else if (value >= 0) {
      numbers.push_back(value);
      value = -1;
    }
  }
  if (value >= 0) numbers.push_back(value);
  return numbers;
}

bool HasLetters(const std::wstring& text) {
  for (wchar_t c : text) {
    if (std::iswalpha(c) || c == L'上' || c == L'下') return true;
  }
  return false;
}

// A file of 1500 bytes written 2011-03-03 15:04:05.123 and read 2012-01-02 11:04:05.456, Shanghai.
std::wstring MakeKnownFile(TempFolder& folder, std::wstring_view name) {
  const std::wstring path = folder.MakeFile(name, 1500);
  SetTimes(path, Utc(2012, 1, 2, 3, 4, 5, 456), Utc(2011, 3, 3, 7, 4, 5, 123));
  return path;
}

void ExpectReset(App& app) {
  EXPECT_FALSE(app.Enabled("btnSet"));
  for (const char* box : {"txtTime(0)", "txtTime(1)", "txtTime(2)"}) EXPECT_EQ(app.Text(box), L"") << box;
  for (const char* box : {"chkReadOnly", "chkHide", "chkSystem", "chkArchive"}) {
    EXPECT_EQ(app.Checked(box), 0) << box;
  }
  EXPECT_EQ(Utf8(app.Text("lblSize")), "大小:当前没有选择文件");
  EXPECT_EQ(app.ToolTip("lblSize"), L"");
}

void ExpectBoxIs(const MessageBoxInfo& box, const char* title, const std::wstring& text, int icon,
                 std::vector<int> buttons) {
  ASSERT_TRUE(box);
  EXPECT_EQ(Utf8(box.title), title);
  EXPECT_EQ(Utf8(box.text), Utf8(text));
  EXPECT_EQ(box.icon, icon);
  EXPECT_EQ(box.buttons, buttons);
}

// ---- inspection

TEST(Inspect, RealFileFillsTheWindow) {
  TempFolder folder;
  const std::wstring path = MakeKnownFile(folder, L"known.txt");
  App app;
  ASSERT_TRUE(app.Started());
  app.SetText("txtPath", path);
  app.ExpectNoBox();
  EXPECT_EQ(app.Text("txtPath"), path);
  EXPECT_TRUE(app.Enabled("btnSet"));
  const std::vector<int> written = {2011, 3, 3, 15, 4, 5};
  EXPECT_EQ(Numbers(app.Text("txtTime(0)")), written) << Utf8(app.Text("txtTime(0)"));
  EXPECT_EQ(Numbers(app.Text("txtTime(1)")), written) << Utf8(app.Text("txtTime(1)"));
  EXPECT_EQ(Numbers(app.Text("txtTime(2)")), (std::vector<int>{2012, 1, 2, 11, 4, 5}))
      << Utf8(app.Text("txtTime(2)"));
  for (const char* box : {"txtTime(0)", "txtTime(1)", "txtTime(2)"}) EXPECT_FALSE(HasLetters(app.Text(box)));
  EXPECT_EQ(Utf8(app.Text("lblSize")), "大小: 1500 字节");
  EXPECT_EQ(app.ToolTip("lblSize"), L"1.46K");
  // The tip itself shows once the pointer rests on the size.
  const RECT size = app.ScreenRect("lblSize");
  app.PointAt({(size.left + size.right) / 2, (size.top + size.bottom) / 2});
  EXPECT_TRUE(WaitUntil([&] { return app.ShownToolTip() == L"1.46K"; }, 5000)) << Utf8(app.ShownToolTip());
  EXPECT_EQ(app.Checked("chkReadOnly"), 0);
  EXPECT_EQ(app.Checked("chkHide"), 0);
  EXPECT_EQ(app.Checked("chkArchive"), 1);
  EXPECT_TRUE(app.WaitFocus("txtPath")) << app.Focus();
  // The caret stands after the last character.
  DWORD start = 0, end = 0;
  app.SendMessageTo("txtPath", EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, path.size());
  EXPECT_EQ(end, path.size());
  app.Screenshot(L"filled-window.bmp");
  // With btnSet enabled, Tab now stops on it.
  const char* order[] = {"txtTime(0)", "txtTime(1)", "txtTime(2)", "chkReadOnly", "chkHide", "chkSystem",
                         "btnGet",     "btnSet",     "chkOnTop",   "chkArchive",  "txtPath"};
  for (const char* next : order) EXPECT_EQ(app.PressTab(), next);
  // Looking changed nothing on disk.
  const auto facts = ReadFacts(path);
  ASSERT_TRUE(facts);
  EXPECT_EQ(UtcText(facts->write), "2011-03-03 07:04:05.123");
  EXPECT_FALSE(facts->attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

struct Refusal {
  const char* what;
  std::wstring path;
  const char* title;
  const char* text;
  int icon;
};

TEST(Inspect, RefusedPathsShowTheirMessageAndEmptyTheBox) {
  TempFolder folder;
  const Refusal refusals[] = {
      {"drive root", L"C:\\", "提示", "请勿直接拖拽磁盘盘符.", kIconWarning},
      {"short with spaces", L"  ab  ", "提示", "请勿直接拖拽磁盘盘符.", kIconWarning},
      {"missing file", folder.Path() + L"\\missing.txt", "提示", "没有找到文件.请确认是否选择了一个文件.",
       kIconInformation},
      {"a name Windows refuses", folder.Path() + L"\\a|b.txt", "错误",
       "不可识别的文件名\r\n本错误可能是因为Unicode码无法显示造成\r\n本工具对某些特殊Unicode字符暂时无法识别."
       "\r\n\r\n请确保文件路径中未包含特殊字符",
       kIconError},
  };
  folder.MakeFile(L"ab.txt", 5);
  App app;
  ASSERT_TRUE(app.Started());
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.what);
    app.SetText("txtPath", refusal.path);
    const MessageBoxInfo box = app.ExpectBox();
    ExpectBoxIs(box, refusal.title, Wide(std::string_view(refusal.text)), refusal.icon, {IDOK});
    app.Answer(box, IDOK);
    app.ExpectNoBox();
    EXPECT_EQ(app.Text("txtPath"), L"");
    ExpectReset(app);
    EXPECT_TRUE(app.WaitFocus("btnGet")) << app.Focus();
  }
  // Spaces only: no message at all.
  app.SetText("txtPath", L"   ");
  app.ExpectNoBox();
  ExpectReset(app);
  EXPECT_TRUE(app.WaitFocus("btnGet")) << app.Focus();
}

TEST(Inspect, FolderAsksAndEachAnswerLeavesItsState) {
  TempFolder folder;
  const std::wstring sub = folder.MakeFolder(L"sub");
  const std::wstring question = L"本工具不对文件夹进行操作\r\n\r\n如果需要保留文件夹相关信息,请选择\"是\"";
  for (const int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    App app;
    ASSERT_TRUE(app.Started());
    app.SetText("txtPath", sub);
    const MessageBoxInfo box = app.ExpectBox();
    ExpectBoxIs(box, "提示", question, kIconWarning, {IDYES, IDNO});
    EXPECT_EQ(box.defaultButton, IDYES);
    app.Answer(box, answer);
    app.ExpectNoBox();
    if (answer == IDNO) {
      EXPECT_EQ(app.Text("txtPath"), L"");
      EXPECT_TRUE(app.Enabled("btnSet")) << "the No answer ends with the button enabled";
      EXPECT_TRUE(app.WaitFocus("btnGet")) << app.Focus();
    } else {
      EXPECT_EQ(app.Text("txtPath"), sub);
      EXPECT_FALSE(app.Enabled("btnSet"));
      EXPECT_EQ(Numbers(app.Text("txtTime(0)")).size(), 6u) << Utf8(app.Text("txtTime(0)"));
      EXPECT_EQ(app.Text("txtTime(1)"), L"");
      EXPECT_EQ(app.Text("txtTime(2)"), L"");
      EXPECT_EQ(Utf8(app.Text("lblSize")), "大小:当前没有选择文件");
      EXPECT_EQ(app.Checked("chkArchive"), 0);
    }
  }
}

// ---- keep-on-top and About

// Whether the program's window lies above `other` in the z-order of top-level windows.
bool IsAbove(HWND window, HWND other) {
  for (HWND w = GetWindow(window, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == other) return true;
  }
  return false;
}

// The topmost band, seen from outside: the window gets the topmost extended style, and a normal
// window of the driver's own, brought to the top over it, stays below it while the program is in
// the band and covers it when it is not.
TEST(OnTop, PressingEntersTheTopmostBandWithoutMovingAndReleasingLeavesIt) {
  App app;
  ASSERT_TRUE(app.Started());
  RECT start{};
  GetWindowRect(app.Main(), &start);
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER, start.left,
                               start.top, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  for (const bool topmost : {true, false, true}) {
    SCOPED_TRACE(topmost ? "pressed" : "released");
    app.Click("chkOnTop");
    app.ExpectNoBox();
    EXPECT_EQ(app.Checked("chkOnTop"), topmost ? 1 : 0);
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return IsAbove(app.Main(), other) == topmost; }, 2000));
    EXPECT_EQ((GetWindowLongW(app.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, topmost);
    RECT now{};
    GetWindowRect(app.Main(), &now);
    EXPECT_TRUE(EqualRect(&now, &start));
  }
  DestroyWindow(other);
}

TEST(About, ShowsTheSixteenLinesWithTheInformationIcon) {
  App app;
  ASSERT_TRUE(app.Started());
  app.Foreground();
  const RECT label = app.ScreenRect("lblAbout");
  app.ClickAt({(label.left + label.right) / 2, (label.top + label.bottom) / 2});
  const MessageBoxInfo box = app.ExpectBox();
  ASSERT_TRUE(box);
  ExpectBoxIs(box, "关于", Wide(frmFileAttribute::AboutText()), kIconInformation, {IDOK});
  std::vector<std::wstring> lines;
  for (size_t start = 0;;) {
    const size_t end = box.text.find(L"\r\n", start);
    lines.push_back(box.text.substr(start, end - start));
    if (end == std::wstring::npos) break;
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(Utf8(lines[0]), "欢迎使用本工具");
  EXPECT_EQ(lines[1], std::wstring(100, L' '));
  EXPECT_EQ(Utf8(lines[15]), "使用前请知悉:文件时间属性的修改是系统底层操作,请慎用");
  for (int empty : {6, 9, 13}) EXPECT_EQ(lines[empty], L"") << "line " << empty + 1;
  // The box is at least as wide as the line of 100 spaces in the message font.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HDC screen = GetDC(nullptr);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  HGDIOBJ old = SelectObject(screen, font);
  SIZE spaces{};
  GetTextExtentPoint32W(screen, lines[1].c_str(), 100, &spaces);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  EXPECT_GE(box.rect.right - box.rect.left, spaces.cx);
  app.Screenshot(L"about-box.bmp", &box.rect);
  app.Answer(box, IDOK);
}

// ---- applying

void TypeInto(App& app, const char* box, const std::wstring& text) {
  app.SetText(box, text);
  app.ExpectNoBox();
}

// Bytes of a text in the ANSI code page.
size_t AnsiBytes(const std::wstring& text) {
  return static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                                 nullptr, 0, nullptr, nullptr));
}

// A file name of `filler` repeated, padded with "y", that brings the full path in the folder to
// `pathBytes` bytes in the ANSI code page; "apply.txt" for 0.
std::wstring NameReaching(const TempFolder& folder, std::wstring_view filler, size_t pathBytes) {
  if (pathBytes == 0) return L"apply.txt";
  std::wstring name;
  const size_t used = AnsiBytes(folder.Path() + L"\\");
  while (used + AnsiBytes(name + std::wstring(filler)) <= pathBytes) name += filler;
  while (used + AnsiBytes(name) < pathBytes) name += L'y';
  return name;
}

void ApplyRoundTrip(const std::vector<std::wstring>& environment, std::wstring_view filler = L"",
                    size_t pathBytes = 0) {
  TempFolder folder;
  const std::wstring path = MakeKnownFile(folder, NameReaching(folder, filler, pathBytes));
  if (pathBytes != 0) {
    ASSERT_EQ(AnsiBytes(path), pathBytes);
  }
  App app(environment);
  ASSERT_TRUE(app.Started());
  app.SetText("txtPath", path);
  app.ExpectNoBox();
  ASSERT_TRUE(app.Enabled("btnSet"));
  if (environment.empty()) {
    EXPECT_EQ(Numbers(app.Text("txtTime(1)")), (std::vector<int>{2011, 3, 3, 15, 4, 5}));
    EXPECT_EQ(Numbers(app.Text("txtTime(2)")), (std::vector<int>{2012, 1, 2, 11, 4, 5}));
  }
  EXPECT_EQ(Utf8(app.Text("lblSize")), "大小: 1500 字节");
  EXPECT_EQ(app.Checked("chkReadOnly") + app.Checked("chkHide") + app.Checked("chkSystem"), 0);
  // The window shows a 24-hour text whatever the regional clock.
  EXPECT_FALSE(HasLetters(app.Text("txtTime(1)"))) << Utf8(app.Text("txtTime(1)"));
  // The creation time names the last write's instant in another form: Wine keeps no creation time
  // and shows the last write time in its place, so only then does the disk hold what was typed.
  const std::wstring created = L"2015-6-7 18:09:00";
  const std::wstring written = L"2015-06-07 18:09";     // no seconds
  const std::wstring accessed = L"2016-07-08 9:10:11";  // one-digit hour
  TypeInto(app, "txtTime(0)", created);
  TypeInto(app, "txtTime(1)", written);
  TypeInto(app, "txtTime(2)", accessed);
  app.Click("chkReadOnly");
  app.ExpectNoBox();
  app.Click("chkHide");
  app.ExpectNoBox();
  app.Click("btnSet");
  const MessageBoxInfo box = app.ExpectBox();
  ExpectBoxIs(box, "提示", L"设置成功", kIconInformation, {IDOK});
  app.Answer(box, IDOK);
  app.ExpectNoBox();
  const auto facts = ReadFacts(path);
  ASSERT_TRUE(facts);
  // Shanghai is UTC+8; the milliseconds come from the stamps as read.
  EXPECT_EQ(UtcText(facts->write), "2015-06-07 10:09:00.123");
  EXPECT_EQ(UtcText(facts->access), "2016-07-08 01:10:11.456");
  EXPECT_TRUE(facts->attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(facts->attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(facts->attributes & FILE_ATTRIBUTE_SYSTEM);
  // Nothing is read back: the texts stay as typed.
  EXPECT_EQ(app.Text("txtTime(0)"), created);
  EXPECT_EQ(app.Text("txtTime(1)"), written);
  EXPECT_EQ(app.Text("txtTime(2)"), accessed);
  EXPECT_TRUE(app.Enabled("btnSet"));
}

TEST(Apply, WritesTypedTimesAndTicksInTheChineseLocale) {
  ApplyRoundTrip({});
}

TEST(Apply, WritesTypedTimesAndTicksInTheUsLocale) {
  ApplyRoundTrip({L"LANG=en_US.UTF-8", L"LC_ALL=en_US.UTF-8"});
}

TEST(Apply, LongPathsWorkLikeShortOnesInTheChineseLocale) {
  {
    SCOPED_TRACE("180 ASCII characters");
    ApplyRoundTrip({}, L"n", 180);
  }
  {
    SCOPED_TRACE("Chinese, 150 bytes");
    ApplyRoundTrip({}, L"长路径", 150);
  }
}

TEST(Apply, BadDateTextIsRefusedWithFocusOnItsBox) {
  TempFolder folder;
  const std::wstring path = MakeKnownFile(folder, L"bad.txt");
  App app;
  ASSERT_TRUE(app.Started());
  app.SetText("txtPath", path);
  app.ExpectNoBox();
  TypeInto(app, "txtTime(1)", L"not a date");
  TypeInto(app, "txtTime(2)", L"");
  app.Click("btnSet");
  const MessageBoxInfo box = app.ExpectBox();
  ExpectBoxIs(box, "提示", L"修改时间不正确", kIconWarning, {IDOK});
  app.Answer(box, IDOK);
  app.ExpectNoBox();
  EXPECT_TRUE(app.WaitFocus("txtTime(1)")) << app.Focus();
  const auto facts = ReadFacts(path);
  ASSERT_TRUE(facts);
  EXPECT_EQ(UtcText(facts->write), "2011-03-03 07:04:05.123") << "a refusal writes nothing";
}

// ---- what each real volume keeps (scripts/volumes.sh mounts them)

// One of the volumes' folders as a Windows path; "" when TIMROSE_VOLUMES is not set.
std::wstring VolumeFolder(std::wstring_view kind) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"TIMROSE_VOLUMES", buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return L"";
  std::wstring path = L"Z:" + std::wstring(buffer, length) + L"/" + std::wstring(kind);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

struct VolumeApply {
  const wchar_t* kind;
  const char* title;
  int icon;
  const wchar_t* text;
};

void PrintTo(const VolumeApply& row, std::ostream* out) {
  *out << Utf8(row.kind);
}

// The same apply on each volume: creation, last write and last access on odd seconds, read-only
// and hidden ticked. What the disk kept is listed; an attribute write the volume refuses is an
// error, with the file as it was.
const VolumeApply kVolumeApplies[] = {
    {L"ext4", "提示", kIconWarning,
     L"设置完成,但磁盘没有按原样保存以下内容:\r\n创建时间:保存为 2015/6/7 18:09:07"},
    {L"exfat", "提示", kIconWarning,
     L"设置完成,但磁盘没有按原样保存以下内容:\r\n创建时间:保存为 2015/6/7 "
     L"18:09:07\r\n只读:没有设上\r\n隐藏:没有设上"},
    {L"ntfs-3g", "提示", kIconWarning,
     L"设置完成,但磁盘没有按原样保存以下内容:\r\n创建时间:保存为 2015/6/7 18:09:07\r\n只读:没有设上"},
    {L"fat32", "错误", kIconError, L"75\r\n路径/文件访问错误"},
};

class Volume : public ::testing::TestWithParam<VolumeApply> {};

TEST_P(Volume, SaysWhatItKeptAndTheWindowShowsIt) {
  const VolumeApply& row = GetParam();
  const std::wstring volume = VolumeFolder(row.kind);
  ASSERT_NE(GetFileAttributesW(volume.c_str()), INVALID_FILE_ATTRIBUTES)
      << "no volume at " << Utf8(volume) << " (scripts/volumes.sh up)";
  TempFolder folder(volume);
  const std::wstring path = folder.MakeFile(L"kept.txt", 1500);
  const auto before = ReadFacts(path);
  ASSERT_TRUE(before);
  App app;
  ASSERT_TRUE(app.Started());
  app.SetText("txtPath", path);
  app.ExpectNoBox();
  TypeInto(app, "txtTime(0)", L"2014-01-02 13:04:05");
  TypeInto(app, "txtTime(1)", L"2015-06-07 18:09:07");
  TypeInto(app, "txtTime(2)", L"2016-07-08 9:10:11");
  app.Click("chkReadOnly");
  app.ExpectNoBox();
  app.Click("chkHide");
  app.ExpectNoBox();
  app.Click("btnSet");
  const MessageBoxInfo box = app.ExpectBox();
  ExpectBoxIs(box, row.title, row.text, row.icon, {IDOK});
  app.Screenshot(std::wstring(row.kind) + L"-apply.bmp", &box.rect);
  app.Answer(box, IDOK);
  app.ExpectNoBox();
  const auto after = ReadFacts(path);
  ASSERT_TRUE(after);
  if (row.icon == kIconError) {
    EXPECT_EQ(UtcText(after->write), UtcText(before->write));
    EXPECT_EQ(after->attributes, before->attributes);
    return;
  }
  // The window shows what the file holds, as an inspection would, and the button stays enabled.
  EXPECT_EQ(Numbers(app.Text("txtTime(1)")), (std::vector<int>{2015, 6, 7, 18, 9, 7}));
  EXPECT_EQ(Numbers(app.Text("txtTime(0)")), Numbers(app.Text("txtTime(1)")));
  // To the second: the milliseconds are the stamp's own.
  EXPECT_EQ(UtcText(after->write).substr(0, 19), "2015-06-07 10:09:07");
  EXPECT_EQ(app.Checked("chkReadOnly"), (after->attributes & FILE_ATTRIBUTE_READONLY) ? 1 : 0);
  EXPECT_EQ(app.Checked("chkHide"), (after->attributes & FILE_ATTRIBUTE_HIDDEN) ? 1 : 0);
  EXPECT_TRUE(app.Enabled("btnSet"));
}

INSTANTIATE_TEST_SUITE_P(Volumes, Volume, ::testing::ValuesIn(kVolumeApplies),
                         [](const ::testing::TestParamInfo<VolumeApply>& info) {
                           std::string name = Utf8(info.param.kind);
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

// A read-only medium: the file is shown like any other; only the apply is refused.
TEST(Volumes, ReadOnlyFileIsShownAndItsApplyRefused) {
  const std::wstring path = VolumeFolder(L"readonly") + L"\\kept.txt";
  const auto before = ReadFacts(path);
  ASSERT_TRUE(before) << "no volume at " << Utf8(path) << " (scripts/volumes.sh up)";
  App app;
  ASSERT_TRUE(app.Started());
  app.SetText("txtPath", path);
  app.ExpectNoBox();
  EXPECT_EQ(Numbers(app.Text("txtTime(1)")), (std::vector<int>{2003, 10, 11, 12, 13, 15}));
  EXPECT_EQ(Utf8(app.Text("lblSize")), "大小: 0 字节");
  EXPECT_TRUE(app.Enabled("btnSet"));
  app.Screenshot(L"readonly-shown.bmp");
  TypeInto(app, "txtTime(1)", L"2015-06-07 18:09:07");
  app.Click("btnSet");
  const MessageBoxInfo box = app.ExpectBox();
  ExpectBoxIs(box, "错误", L"70\r\n拒绝的权限", kIconError, {IDOK});
  app.Answer(box, IDOK);
  const auto after = ReadFacts(path);
  ASSERT_TRUE(after);
  EXPECT_EQ(UtcText(after->write), "2003-10-11 04:13:15.000");
  EXPECT_EQ(after->attributes, before->attributes);
}

// ---- the file-open dialog

TEST(Select, DialogPickFillsTheWindowAndCancelLeavesItsState) {
  TempFolder folder;
  const std::wstring path = MakeKnownFile(folder, L"picked.txt");
  App app;
  ASSERT_TRUE(app.Started());
  // A cancel before any name: the box stays empty, the focus goes to the button.
  app.Click("btnGet");
  HWND dialog = app.WaitFileDialog(L"选择文件");
  ASSERT_NE(dialog, nullptr);
  app.CancelFileDialog(dialog);
  app.ExpectNoBox();
  EXPECT_EQ(app.Text("txtPath"), L"");
  EXPECT_TRUE(app.WaitFocus("btnGet")) << app.Focus();

  app.Click("btnGet");
  dialog = app.WaitFileDialog(L"选择文件");
  ASSERT_NE(dialog, nullptr);
  app.ChooseInFileDialog(dialog, path);
  app.ExpectNoBox();
  EXPECT_EQ(app.Text("txtPath"), path);
  EXPECT_TRUE(app.Enabled("btnSet"));
  EXPECT_EQ(Utf8(app.Text("lblSize")), "大小: 1500 字节");

  // A cancel later puts the last name back and reads the file afresh.
  SetTimes(path, Utc(2013, 5, 6, 1, 2, 3), Utc(2013, 5, 6, 1, 2, 3));
  app.Click("btnGet");
  dialog = app.WaitFileDialog(L"选择文件");
  ASSERT_NE(dialog, nullptr);
  app.CancelFileDialog(dialog);
  app.ExpectNoBox();
  EXPECT_EQ(app.Text("txtPath"), path);
  EXPECT_EQ(Numbers(app.Text("txtTime(1)")), (std::vector<int>{2013, 5, 6, 9, 2, 3}));
}

}  // namespace
}  // namespace timrose::gui
