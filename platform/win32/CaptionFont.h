#pragma once
// The font of the window's controls. The system's message font is the natural choice, but it need not
// have the Chinese characters of the captions: Windows draws them through font linking, while Wine
// without Windows' fonts draws them as empty boxes (Wine 10 in every locale, Wine 8 in Western ones).
#include <windows.h>

namespace timrose::win32 {

// The message font itself when it has a glyph for every character of every control's caption (always
// so on Windows with a Chinese message font); else, at the same size and weight, the first installed
// font that has them: the UI fonts of Windows' Chinese edition first, then any font with the Chinese
// (GB2312) character set. The message font when no installed font has them all.
LOGFONTW CaptionFont(const LOGFONTW& messageFont);

}  // namespace timrose::win32
