#include "platform/win32/CaptionFont.h"

#include <algorithm>
#include <string>
#include <vector>

#include "window/FormDescription.h"

namespace timrose::win32 {
namespace {

// The UI fonts of Windows' Chinese edition, from the newest Windows to the oldest.
constexpr const wchar_t* kChineseUiFonts[] = {L"Microsoft YaHei UI", L"Microsoft YaHei", L"SimSun",
                                              L"NSimSun", L"SimHei"};

std::wstring EveryCaption() {
  std::wstring text;
  for (const ControlDesc& desc : kControls) text.append(desc.caption.begin(), desc.caption.end());
  return text;
}

// GetGlyphIndicesW asks the font itself: no font linking and no fallback stand in for a missing glyph.
bool HasEveryGlyph(HDC dc, const LOGFONTW& font, const std::wstring& text) {
  HFONT handle = CreateFontIndirectW(&font);
  if (!handle) return false;
  HGDIOBJ old = SelectObject(dc, handle);
  std::vector<WORD> glyphs(text.size());
  const DWORD count = GetGlyphIndicesW(dc, text.data(), static_cast<int>(text.size()), glyphs.data(),
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
    reinterpret_cast<std::vector<std::wstring>*>(faces)->push_back(font->lfFaceName);
  return 1;
}

}  // namespace

LOGFONTW CaptionFont(const LOGFONTW& messageFont) {
  const std::wstring text = EveryCaption();
  HDC dc = GetDC(nullptr);
  if (!dc) return messageFont;
  LOGFONTW chosen = messageFont;
  if (!HasEveryGlyph(dc, messageFont, text)) {
    std::vector<std::wstring> faces;
    for (const wchar_t* face : kChineseUiFonts) {
      if (IsInstalled(dc, face)) faces.emplace_back(face);
    }
    LOGFONTW query{};
    query.lfCharSet = GB2312_CHARSET;
    EnumFontFamiliesExW(dc, &query, &AddFamily, reinterpret_cast<LPARAM>(&faces), 0);
    for (const std::wstring& face : faces) {
      LOGFONTW candidate = messageFont;
      candidate.lfCharSet = DEFAULT_CHARSET;
      lstrcpynW(candidate.lfFaceName, face.c_str(), LF_FACESIZE);
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
