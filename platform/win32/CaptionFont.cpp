#include "platform/win32/CaptionFont.h"

#include <algorithm>
#include <vector>

#include "platform/win32/WideText.h"
#include "window/FormDescription.h"

namespace timrose::win32 {
namespace {

// The UI fonts of Windows' Chinese edition, from the newest Windows to the oldest.
constexpr const wchar_t* kChineseUiFonts[] = {L"Microsoft YaHei UI", L"Microsoft YaHei", L"SimSun",
                                              L"NSimSun", L"SimHei"};

Text EveryCaption() {
  Text text;
  for (const ControlDesc& desc : kControls) text.append(desc.caption.begin(), desc.caption.end());
  return text;
}

// GetGlyphIndicesW asks the font itself: no font linking and no fallback stand in for a missing glyph.
bool HasEveryGlyph(HDC dc, const LOGFONTW& font, const Text& text) {
  HFONT handle = CreateFontIndirectW(&font);
  if (!handle) return false;
  HGDIOBJ old = SelectObject(dc, handle);
  std::vector<WORD> glyphs(text.size());
  const DWORD count = GetGlyphIndicesW(dc, Wide(text), static_cast<int>(text.size()), glyphs.data(),
                                       GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  DeleteObject(handle);
  return count == text.size() && std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) == glyphs.end();
}

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// Asked by name, because the font mapper quietly gives another font for a name that is not installed.
bool IsInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

int CALLBACK AddFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  // Names with "@" are the same fonts turned for vertical writing.
  if (font->lfFaceName[0] != L'@')
    reinterpret_cast<std::vector<Text>*>(faces)->push_back(FromWide(font->lfFaceName));
  return 1;
}

}  // namespace

LOGFONTW CaptionFont(const LOGFONTW& messageFont) {
  const Text text = EveryCaption();
  HDC dc = GetDC(nullptr);
  if (!dc) return messageFont;
  LOGFONTW chosen = messageFont;
  if (!HasEveryGlyph(dc, messageFont, text)) {
    std::vector<Text> faces;
    for (const wchar_t* face : kChineseUiFonts) {
      if (IsInstalled(dc, face)) faces.push_back(FromWide(face));
    }
    LOGFONTW query{};
    query.lfCharSet = GB2312_CHARSET;
    EnumFontFamiliesExW(dc, &query, &AddFamily, reinterpret_cast<LPARAM>(&faces), 0);
    for (const Text& face : faces) {
      LOGFONTW candidate = messageFont;
      candidate.lfCharSet = DEFAULT_CHARSET;
      lstrcpynW(candidate.lfFaceName, Wide(face), LF_FACESIZE);
      if (HasEveryGlyph(dc, candidate, text)) {
        chosen = candidate;
        break;
      }
    }
  }
  ReleaseDC(nullptr, dc);
  return chosen;
}

}  // namespace timrose::win32
