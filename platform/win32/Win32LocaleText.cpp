#include "platform/win32/Win32LocaleText.h"

#include <windows.h>
#include <oleauto.h>

#include <cwchar>
#include <string>

#include "core/Error.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {
namespace {

[[noreturn]] void RaiseConversionError(HRESULT hr) {
  if (hr == DISP_E_OVERFLOW) RaiseError(kErrOverflow);
  if (hr == E_OUTOFMEMORY) RaiseError(kErrOutOfMemory);
  if (hr == DISP_E_TYPEMISMATCH) RaiseError(kErrTypeMismatch);
  RaiseError(kErrInvalidCall);
}

// Takes ownership of a BSTR the automation conversions hand out.
Text TakeBstr(BSTR text) {
  Text out(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
  SysFreeString(text);
  return out;
}

LPOLESTR OleText(const Text& text) {
  return const_cast<LPOLESTR>(Wide(text));
}

UINT LocaleNumber(LCTYPE type) {
  DWORD value = 0;
  GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&value),
                 sizeof value / sizeof(WCHAR));
  return value;
}

// Empty when the locale has no such string or the call fails.
Text LocaleString(LCTYPE type) {
  const int size = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, nullptr, 0);
  if (size <= 0) return Text();
  Text buffer(static_cast<size_t>(size), u'\0');
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, WideBuffer(buffer), size) <= 0) return Text();
  buffer.resize(buffer.find(u'\0') == Text::npos ? buffer.size() : buffer.find(u'\0'));
  return buffer;
}

// The locale's grouping ("3;0", "3;2;0", "3") as the number the number format takes (3, 32, 30):
// a trailing ";0" repeats the last group, its absence ends grouping after the listed ones.
UINT GroupingNumber(const Text& grouping) {
  UINT number = 0;
  for (char16_t c : grouping) {
    if (c >= u'0' && c <= u'9') number = number * 10 + static_cast<UINT>(c - u'0');
  }
  const bool repeats = grouping.size() >= 2 && grouping.compare(grouping.size() - 2, 2, u";0") == 0;
  return repeats ? number / 10 : number * 10;
}

}  // namespace

Text Win32LocaleText::DateText(const Date& date) {
  BSTR out = nullptr;
  // Four-digit years whatever the short date says: a two-digit year read back from a time box
  // would name another century and be written to the file.
  const HRESULT hr = VarBstrFromDate(date.ToSerial(), LOCALE_USER_DEFAULT, VAR_FOURDIGITYEARS, &out);
  if (FAILED(hr)) RaiseConversionError(hr);
  return TakeBstr(out);
}

TimeDesignators Win32LocaleText::Designators() {
  return {LocaleString(LOCALE_S1159), LocaleString(LOCALE_S2359)};
}

bool Win32LocaleText::IsDate(const Text& text) {
  if (text.empty()) return false;
  DATE value = 0;
  if (FAILED(VarDateFromStr(OleText(text), LOCALE_USER_DEFAULT, 0, &value))) return false;
  try {
    Date::FromSerial(value);
  } catch (const RaisedError&) {
    return false;
  }
  return true;
}

Date Win32LocaleText::CDate(const Text& text) {
  if (text.empty()) RaiseError(kErrTypeMismatch);
  DATE value = 0;
  const HRESULT hr = VarDateFromStr(OleText(text), LOCALE_USER_DEFAULT, 0, &value);
  if (FAILED(hr)) RaiseConversionError(hr);
  return Date::FromSerial(value);
}

Text Win32LocaleText::SingleText(float value) {
  BSTR out = nullptr;
  const HRESULT hr = VarBstrFromR4(value, LOCALE_USER_DEFAULT, 0, &out);
  if (FAILED(hr)) RaiseConversionError(hr);
  return TakeBstr(out);
}

Text Win32LocaleText::GroupedWholeText(int64_t value) {
  Text decimal = LocaleString(LOCALE_SDECIMAL);
  Text thousand = LocaleString(LOCALE_STHOUSAND);
  NUMBERFMTW format{};
  format.NumDigits = 0;
  format.LeadingZero = LocaleNumber(LOCALE_ILZERO);
  format.Grouping = GroupingNumber(LocaleString(LOCALE_SGROUPING));
  format.lpDecimalSep = WideBuffer(decimal);
  format.lpThousandSep = WideBuffer(thousand);
  format.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER);
  const Text digits = DecimalText(value);
  wchar_t buffer[64] = {};
  if (GetNumberFormatW(LOCALE_USER_DEFAULT, 0, Wide(digits), &format, buffer,
                       static_cast<int>(std::size(buffer))) <= 0) {
    RaiseError(kErrInvalidCall);
  }
  return FromWide(buffer);
}

double Win32LocaleText::ReadNumberText(const Text& text) {
  double value = 0;
  const HRESULT hr = VarR8FromStr(OleText(text), LOCALE_USER_DEFAULT, 0, &value);
  if (FAILED(hr)) RaiseConversionError(hr);
  return value;
}

}  // namespace timrose::win32
