// The main window as the real program shows it: start state, layout, keyboard, mouse, resources.
#include <gtest/gtest.h>

#include "tests/gui/Driver.h"

namespace timrose::gui {
namespace {

struct StartState {
  const char* name;
  const char* text;
  bool enabled;
};

// Written out here, not taken from the window's own description, so that a slip there shows.
const StartState kStart[] = {
    {"lblInfo(0)", "文件路径(可拖拽)", true},
    {"txtPath", "", true},
    {"btnGet", "选择文件", true},
    {"btnSet", "设置文件属性", false},
    {"chkOnTop", "置顶", true},
    {"lblInfo(1)", "创建时间", true},
    {"txtTime(0)", "", true},
    {"lblInfo(3)", "最近一次修改时间", true},
    {"txtTime(1)", "", true},
    {"lblInfo(2)", "最后一次访问时间", true},
    {"txtTime(2)", "", true},
    {"lblAbout", "关于", true},
    {"lblInfo(4)", "只读与隐藏", true},
    {"chkReadOnly", "只读", true},
    {"chkHide", "隐藏", true},
    {"chkSystem", "系统", true},
    {"chkArchive", "存档", true},
    {"lblInfo(5)", "简单实用的小工具vantrelTooL", false},
    {"lblSize", "大小:当前没有选择文件", true},
};

TEST(Window, StartsWithEveryControlInItsStartState) {
  App app;
  ASSERT_TRUE(app.Started());
  for (const StartState& control : kStart) {
    SCOPED_TRACE(control.name);
    EXPECT_EQ(Utf8(app.Text(control.name)), control.text);
    EXPECT_EQ(app.Enabled(control.name), control.enabled);
    EXPECT_TRUE(app.Visible(control.name));
  }
  for (const char* box : {"chkOnTop", "chkReadOnly", "chkHide", "chkSystem", "chkArchive"}) {
    EXPECT_EQ(app.Checked(box), BST_UNCHECKED) << box;
  }
  EXPECT_EQ(app.Focus(), "txtPath");
  EXPECT_EQ(app.ToolTip("lblSize"), L"");
  EXPECT_FALSE(GetWindowLongW(app.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  // The path box wraps long paths and scrolls; the time boxes are one line each.
  const LONG pathStyle = GetWindowLongW(app.Control("txtPath"), GWL_STYLE);
  EXPECT_TRUE(pathStyle & ES_MULTILINE);
  EXPECT_TRUE(pathStyle & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongW(app.Control("txtTime(0)"), GWL_STYLE) & ES_MULTILINE);
  EXPECT_EQ(GetWindowLongW(app.Control("chkOnTop"), GWL_STYLE) & BS_PUSHLIKE, BS_PUSHLIKE);
  // No default button: Enter does nothing special.
  for (const char* button : {"btnGet", "btnSet"}) {
    EXPECT_NE(GetWindowLongW(app.Control(button), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON) << button;
  }
  app.Screenshot(L"start-window.bmp");
}

struct Place {
  const char* name;
  int left, top, width, height;  // twips
};

const Place kPlaces[] = {
    {"lblInfo(0)", 120, 120, 1455, 255},   {"txtPath", 1680, 120, 3255, 855},
    {"btnGet", 120, 330, 1455, 300},       {"btnSet", 120, 670, 1455, 300},
    {"chkOnTop", 120, 1050, 495, 300},     {"lblInfo(1)", 720, 1080, 855, 255},
    {"txtTime(0)", 1680, 1080, 3255, 270}, {"lblInfo(3)", 120, 1440, 1455, 255},
    {"txtTime(1)", 1680, 1440, 3255, 270}, {"lblInfo(2)", 120, 1800, 1455, 255},
    {"txtTime(2)", 1680, 1800, 3255, 270}, {"lblAbout", 120, 2160, 495, 255},
    {"lblInfo(4)", 120, 2160, 1455, 255},  {"chkReadOnly", 1680, 2160, 735, 255},
    {"chkHide", 2400, 2160, 735, 255},     {"chkSystem", 3120, 2160, 735, 255},
    {"chkArchive", 3840, 2160, 735, 255},  {"lblInfo(5)", 120, 2520, 2535, 255},
    {"lblSize", 2760, 2520, 2175, 255},
};

// 15 twips make a pixel at 96 DPI; a value that is no whole number of pixels may round either way.
void ExpectPixels(int pixels, int twips, const char* what) {
  EXPECT_LT(std::abs(pixels * 15 - twips), 15) << what << ": " << pixels << " px for " << twips << " twips";
}

TEST(Window, PlacesEveryControlAtItsTwipsAt96Dpi) {
  App app;
  ASSERT_TRUE(app.Started());
  ASSERT_EQ(GetDeviceCaps(GetDC(nullptr), LOGPIXELSX), 96) << "the layout below is for 96 DPI";
  RECT client{};
  GetClientRect(app.Main(), &client);
  EXPECT_EQ(client.right, 334);
  EXPECT_EQ(client.bottom, 183);
  for (const Place& place : kPlaces) {
    SCOPED_TRACE(place.name);
    const RECT rect = app.ClientRect(place.name);
    ExpectPixels(rect.left, place.left, "left");
    ExpectPixels(rect.top, place.top, "top");
    ExpectPixels(rect.right - rect.left, place.width, "width");
    ExpectPixels(rect.bottom - rect.top, place.height, "height");
  }
}

TEST(Window, TabVisitsTheControlsInTabOrderSkippingTheDisabledButton) {
  App app;
  ASSERT_TRUE(app.Started());
  ASSERT_EQ(app.Focus(), "txtPath");
  const char* expected[] = {"txtTime(0)", "txtTime(1)", "txtTime(2)", "chkReadOnly", "chkHide",
                            "chkSystem",  "btnGet",     "chkOnTop",   "chkArchive",  "txtPath"};
  for (const char* next : expected) {
    EXPECT_EQ(app.PressTab(), next);
  }
}

// The queue of real input is processed in order: once a Tab typed after some input has moved the
// focus, the input before it has been handled.
bool InputHandled(App& app, const std::string& focusBefore) {
  app.PressKey(VK_TAB);
  return WaitUntil([&] { return app.Focus() != focusBefore || app.NextBox(0); }, 3000);
}

std::wstring Clipboard() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void SetClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(data);
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
}

TEST(Window, PathBoxRefusesTypingDeletingAndPastingButCopies) {
  for (const bool filled : {false, true}) {
    SCOPED_TRACE(filled ? "with a path" : "empty");
    TempFolder folder;
    App app;
    ASSERT_TRUE(app.Started());
    std::wstring path;
    if (filled) {
      path = folder.MakeFile(L"kept.txt", 10);
      app.SetText("txtPath", path);
      app.ExpectNoBox();
    }
    ASSERT_EQ(app.Text("txtPath"), path);
    app.Foreground();
    ASSERT_TRUE(app.WaitFocus("txtPath")) << app.Focus();
    SetClipboard(L"C:\\pasted.txt");
    app.TypeText(L"abc");
    app.PressKey(VK_BACK);
    app.PressKey(VK_DELETE);
    app.PressKey('V', true);
    app.PressKey('X', true);
    ASSERT_TRUE(InputHandled(app, "txtPath"));
    EXPECT_EQ(app.NextBox(0).text, L"");
    EXPECT_EQ(app.Text("txtPath"), path);
    // The same through the edit messages an automation tool would send.
    for (UINT message : {WM_PASTE, WM_CUT, WM_CLEAR, WM_UNDO}) app.SendMessageTo("txtPath", message, 0, 0);
    app.SendMessageTo("txtPath", WM_CHAR, L'q', 1);
    EXPECT_EQ(app.Text("txtPath"), path);
    if (filled) {
      // Selecting and copying still work.
      app.SendMessageTo("txtPath", EM_SETSEL, 0, -1);
      app.SendMessageTo("txtPath", WM_COPY, 0, 0);
      EXPECT_EQ(Clipboard(), path);
    }
  }
}

TEST(Window, OnTopButtonPressesAndReleases) {
  App app;
  ASSERT_TRUE(app.Started());
  for (const int expected : {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}) {
    app.Click("chkOnTop");
    app.ExpectNoBox();
    EXPECT_EQ(app.Checked("chkOnTop"), expected);
  }
}

POINT Centre(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

TEST(Window, ClickOnAboutReachesTheLabelButElsewhereOnItsNeighbourDoesNothing) {
  App app;
  ASSERT_TRUE(app.Started());
  app.Foreground();
  const RECT about = app.ScreenRect("lblAbout");
  const RECT attributes = app.ScreenRect("lblInfo(4)");
  ASSERT_TRUE(about.right < attributes.right);
  // The right end of "只读与隐藏", away from "关于".
  app.ClickAt({attributes.right - 8, (attributes.top + attributes.bottom) / 2});
  ASSERT_TRUE(InputHandled(app, app.Focus()));
  EXPECT_FALSE(app.NextBox(0)) << "a click beside the About label opened a box";

  // The label's pointer is the window's own test (Win32FormTest): read from another process under
  // Wine, the pointer shown follows the moves too late to be judged.
  app.ClickAt(Centre(about));
  MessageBoxInfo box = app.ExpectBox();
  EXPECT_EQ(box.title, L"关于");
  app.Answer(box, IDOK);
  EXPECT_FALSE(app.NextBox(300)) << "one click, one box";
}

// Enter and Esc reach the window as IDOK and IDCANCEL, and the window has neither: wherever the
// focus stands, they press nothing, open nothing and close nothing.
TEST(Window, EnterAndEscDoNothingInATimeBoxOrOnAnyButton) {
  TempFolder folder;
  const std::wstring path = folder.MakeFile(L"keys.txt", 10);
  App app;
  ASSERT_TRUE(app.Started());
  app.SetText("txtPath", path);
  app.ExpectNoBox();
  const std::wstring time = app.Text("txtTime(0)");
  app.Foreground();
  for (const char* target : {"txtTime(0)", "btnGet", "btnSet", "chkOnTop"}) {
    SCOPED_TRACE(target);
    for (int tabs = 0; app.Focus() != target && tabs < 12; ++tabs) app.PressTab();
    ASSERT_EQ(app.Focus(), target);
    for (const WORD key : {VK_RETURN, VK_ESCAPE}) app.PressKey(key);
    ASSERT_TRUE(InputHandled(app, target));
    const MessageBoxInfo box = app.NextBox(0);
    EXPECT_FALSE(box) << "a box opened: " << Utf8(box.title) << " " << Utf8(box.text);
    app.Answer(box, IDOK);
    EXPECT_EQ(app.WaitFileDialog(L"选择文件", 0), nullptr) << "the dialog opened";
    EXPECT_TRUE(IsWindowVisible(app.Main()));
    EXPECT_EQ(app.Checked("chkOnTop"), 0);
    EXPECT_EQ(app.Text("txtTime(0)"), time);
    EXPECT_EQ(app.Text("txtPath"), path);
  }
}

// "关于" is drawn in pure red on the window's face.
TEST(Window, AboutCaptionIsPureRed) {
  App app;
  ASSERT_TRUE(app.Started());
  app.Foreground();
  const RECT label = app.ScreenRect("lblAbout");
  HDC screen = GetDC(nullptr);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // Smoothed edges blend the red into the face, so every ink pixel is red, pure or lighter.
  int pure = 0, ink = 0, other = 0;
  for (int y = label.top; y < label.bottom; ++y) {
    for (int x = label.left; x < label.right; ++x) {
      const COLORREF pixel = GetPixel(screen, x, y);
      if (pixel == face) continue;
      const bool red = GetRValue(pixel) > GetGValue(pixel) && GetGValue(pixel) == GetBValue(pixel);
      ++(red ? ink : other);
      if (pixel == RGB(255, 0, 0)) ++pure;
    }
  }
  ReleaseDC(nullptr, screen);
  EXPECT_GT(ink, 20);
  EXPECT_GT(pure, 0);
  EXPECT_EQ(other, 0);
}

TEST(Window, CannotBeResized) {
  App app;
  ASSERT_TRUE(app.Started());
  const LONG style = GetWindowLongW(app.Main(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU) << "the user must be able to close the window";
  RECT before{};
  GetWindowRect(app.Main(), &before);
  // No point of the frame offers a sizing border.
  const POINT edges[] = {{before.left, (before.top + before.bottom) / 2},
                         {before.right - 1, (before.top + before.bottom) / 2},
                         {(before.left + before.right) / 2, before.bottom - 1},
                         {before.right - 1, before.bottom - 1},
                         {before.left, before.top}};
  for (const POINT& point : edges) {
    const LRESULT hit = app.SendMessageTo("", WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST)
        << "hit test " << hit << " at " << point.x << "," << point.y;
  }
  // A real drag on the bottom-right corner.
  app.Foreground();
  SetCursorPos(before.right - 1, before.bottom - 1);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) input.type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE;
  inputs[1].mi.dx = 60;
  inputs[1].mi.dy = 40;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
  InputHandled(app, app.Focus());
  RECT after{};
  GetWindowRect(app.Main(), &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST(Resources, VersionRecordHoldsEveryKey) {
  const std::wstring exe = ProgramPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(6, 0));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(6, 0));
  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u) << "one language";
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);
  const std::pair<const wchar_t*, const char*> keys[] = {
      {L"FileVersion", "1.00.0006"},
      {L"ProductVersion", "1.00.0006"},
      {L"ProductName", "Timrose"},
      {L"FileDescription", "Timrose"},
      {L"Comments", "vantrelTooL"},
      {L"CompanyName", "Tollhaven"},
      {L"InternalName", "vantrelFileAttribute1.06"},
      {L"OriginalFilename", "vantrelFileAttribute1.06.exe"},
  };
  for (const auto& [key, value] : keys) {
    const auto read = VersionString(exe, std::wstring(L"\\StringFileInfo\\080404B0\\") + key);
    ASSERT_TRUE(read.has_value()) << Utf8(key);
    EXPECT_EQ(Utf8(*read), value) << Utf8(key);
  }
}

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct GroupHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  reinterpret_cast<std::vector<ULONG_PTR>*>(param)->push_back(reinterpret_cast<ULONG_PTR>(name));
  return TRUE;
}

TEST(Resources, OneIconGroupIn16And32And48PixelsWith256Colours) {
  HMODULE module = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  std::vector<ULONG_PTR> groups;
  EnumResourceNamesW(module, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&groups));
  ASSERT_EQ(groups.size(), 1u);
  HRSRC found = FindResourceW(module, reinterpret_cast<LPCWSTR>(groups[0]), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* header = static_cast<const GroupHeader*>(LockResource(LoadResource(module, found)));
  ASSERT_EQ(header->count, 3);
  const auto* entries = reinterpret_cast<const GroupEntry*>(header + 1);
  const int sizes[] = {16, 32, 48};
  const WORD ids[] = {30001, 30002, 30003};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(sizes[i]);
    EXPECT_EQ(entries[i].width, sizes[i]);
    EXPECT_EQ(entries[i].height, sizes[i]);
    EXPECT_EQ(entries[i].bitCount, 8);
    EXPECT_EQ(entries[i].id, ids[i]);
    // The picture itself loads at that size.
    HICON icon = static_cast<HICON>(
        LoadImageW(module, reinterpret_cast<LPCWSTR>(groups[0]), IMAGE_ICON, sizes[i], sizes[i], 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, sizes[i]);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  FreeLibrary(module);
}

TEST(Resources, HandPointerIsMonochrome32PixelsWithItsHotSpotAtTheFingertip) {
  HMODULE module = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  std::vector<ULONG_PTR> cursors;
  EnumResourceNamesW(module, RT_CURSOR, CollectName, reinterpret_cast<LONG_PTR>(&cursors));
  ASSERT_EQ(cursors.size(), 1u);
  HRSRC found = FindResourceW(module, reinterpret_cast<LPCWSTR>(cursors[0]), RT_CURSOR);
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  ASSERT_NE(data, nullptr);
  const auto* hotSpot = reinterpret_cast<const WORD*>(data);
  EXPECT_EQ(hotSpot[0], 5);
  EXPECT_EQ(hotSpot[1], 0);
  const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(data + 4);
  EXPECT_EQ(bitmap->biWidth, 32);
  EXPECT_EQ(bitmap->biHeight, 64) << "colour and mask halves of 32 rows each";
  EXPECT_EQ(bitmap->biBitCount, 1);
  FreeLibrary(module);
}

}  // namespace
}  // namespace timrose::gui
