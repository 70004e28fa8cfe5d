// For ./run: waits until the Timrose window shows, puts a file's path into its path box with one
// WM_SETTEXT (the change runs the whole inspection inside the call; the drop handler does not run),
// and prints the window's rectangle on the screen ("left top width height") so that a picture can be
// cut to it.
//
// timrose_show_file [PATH]   without PATH only the rectangle is printed
#include <windows.h>

#include <cstdio>
#include <string>

#include "window/FormDescription.h"

namespace {

struct Search {
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  if (!IsWindowVisible(window) || std::wstring(caption) != L"Timrose") return TRUE;
  reinterpret_cast<Search*>(context)->found = window;
  return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Search search;
  for (int i = 0; i < 300 && !search.found; ++i) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(100);
  }
  if (!search.found) {
    std::fprintf(stderr, "timrose_show_file: no Timrose window\n");
    return 1;
  }
  if (argc > 1) {
    const std::wstring path = argv[1];
    HWND box = GetDlgItem(search.found, timrose::DialogId(timrose::ControlId::txtPath));
    DWORD_PTR result = 0;
    if (!box || !SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL,
                                     60000, &result)) {
      std::fprintf(stderr, "timrose_show_file: the path box did not take the path (a message box?)\n");
      return 1;
    }
  }
  RECT rect{};
  GetWindowRect(search.found, &rect);
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return 0;
}
