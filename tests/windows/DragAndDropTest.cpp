// Drag and drop: the drop data and the drop target of the path box, and the data object and drop
// source of a drag out of it.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Error.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32DragSource.h"
#include "platform/win32/Win32DropTarget.h"
#include "tests/DropFileList.h"

namespace timrose::win32 {
namespace {

// A data object that offers a file list, or nothing at all.
class FakeDataObject : public IDataObject {
 public:
  explicit FakeDataObject(std::vector<std::wstring> files, bool hasFiles)
      : has_(hasFiles), files_(std::move(files)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!has_ || format->cfFormat != CF_HDROP) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = GlobalCopy(DropFileList(files_));
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return has_ && format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  ULONG refs_ = 1;
  bool has_;

 private:
  std::vector<std::wstring> files_;
};

TEST(Win32DropData, ReadsTheDroppedFilesInOrderAndRaisesWithoutAList) {
  FakeDataObject files({L"C:\\一.txt", L"D:\\two"}, true);
  Win32DropData data(&files);
  // Read once, while the drop lasts: the source may have let go of it when the handler runs.
  files.has_ = false;
  EXPECT_TRUE(data.HasFileList());
  EXPECT_EQ(data.Files(1), u"C:\\一.txt");
  EXPECT_EQ(data.Files(2), u"D:\\two");
  for (int bad : {0, 3, -1}) EXPECT_THROW(data.Files(bad), RaisedError) << bad;

  FakeDataObject text({}, false);
  Win32DropData none(&text);
  EXPECT_FALSE(none.HasFileList());
  EXPECT_THROW(none.Files(1), RaisedError);
}

TEST(Win32DropTarget, EveryDropThatCanBeTakenReachesTheHandlerAndIsNeverReportedAsAMove) {
  std::vector<std::string> seen;
  const ComPtr<Win32DropTarget> target = Win32DropTarget::Create([&](DropEvent drop) {
    seen.push_back(std::to_string(drop.data.Names().size()) + " effect " + std::to_string(drop.effect) +
                   " button " + std::to_string(drop.button) + " shift " + std::to_string(drop.shift));
  });
  FakeDataObject files({L"C:\\a"}, true);
  FakeDataObject nothing({}, false);
  struct Case {
    IDataObject* data;
    DWORD allowed, keys, expectedEffect;
  };
  const Case cases[] = {
      {&files, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, MK_LBUTTON, DROPEFFECT_COPY},
      {&files, DROPEFFECT_MOVE, MK_SHIFT | MK_CONTROL, DROPEFFECT_NONE},
      {&nothing, DROPEFFECT_LINK | DROPEFFECT_MOVE, MK_RBUTTON | MK_ALT, DROPEFFECT_LINK},
  };
  for (const Case& c : cases) {
    DWORD effect = c.allowed;
    EXPECT_EQ(target->DragEnter(c.data, c.keys, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, c.expectedEffect) << "any data object is accepted while dragging";
    effect = c.allowed;
    EXPECT_EQ(target->Drop(c.data, c.keys, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, c.expectedEffect);
    EXPECT_EQ(effect & DROPEFFECT_MOVE, 0u);
  }
  // The move-only drop is not the handler's: the source was told nothing can be taken.
  EXPECT_EQ(seen, (std::vector<std::string>{"1 effect 1 button 1 shift 0", "0 effect 4 button 2 shift 4"}));
  target->Detach();
  DWORD effect = DROPEFFECT_COPY;
  target->Drop(&files, 0, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(seen.size(), 2u);
}

// The text of one format as a drop target gets it, up to the terminator; nothing when the
// format is refused or the block has no terminator.
template <typename Char>
std::optional<std::basic_string<Char>> TextOf(IDataObject& data, CLIPFORMAT format) {
  FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  StorageMedium medium;
  if (data.GetData(&wanted, medium.Receive()) != S_OK) {
    medium.MarkEmpty();
    return std::nullopt;
  }
  const auto* chars = static_cast<const Char*>(GlobalLock(medium.get().hGlobal));
  if (!chars) return std::nullopt;
  const size_t limit = GlobalSize(medium.get().hGlobal) / sizeof(Char);
  const size_t length = std::find(chars, chars + limit, Char{0}) - chars;
  std::optional<std::basic_string<Char>> text;
  if (length < limit) text.emplace(chars, length);
  GlobalUnlock(medium.get().hGlobal);
  return text;
}

TEST(Win32TextData, OffersTheTextAsUnicodeAndExactlyInTheAnsiCodePageAndListsBoth) {
  if (GetACP() != 936) GTEST_SKIP() << "written for the Chinese code page 936 (zh_CN)";
  const struct {
    const char16_t* text;
    std::optional<std::string> ansi;
  } cases[] = {
      {u"C:\\数据\\文件.txt", std::string("C:\\\xca\xfd\xbe\xdd\\\xce\xc4\xbc\xfe.txt")},
      // No exact form in 936: Unicode only, never a "?" in its place.
      {u"C:\\한\\文件.txt", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    ComPtr<Win32TextData> data = Win32TextData::Create(c.text);
    ASSERT_TRUE(data);
    const auto unicode = TextOf<wchar_t>(*data.get(), CF_UNICODETEXT);
    ASSERT_TRUE(unicode.has_value());
    EXPECT_EQ(FromWide(unicode->c_str()), Text(c.text));
    EXPECT_EQ(TextOf<char>(*data.get(), CF_TEXT), c.ansi);
    // A drop of it carries no file list.
    EXPECT_FALSE(Win32DropData(data.get()).HasFileList());

    IEnumFORMATETC* raw = nullptr;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &raw), S_OK);
    ComPtr<IEnumFORMATETC> formats = ComPtr<IEnumFORMATETC>::Attach(raw);
    FORMATETC listed[4]{};
    ULONG count = 0;
    formats->Next(4, listed, &count);
    std::vector<CLIPFORMAT> kinds;
    for (ULONG i = 0; i < count; ++i) {
      kinds.push_back(listed[i].cfFormat);
      EXPECT_EQ(listed[i].tymed, static_cast<DWORD>(TYMED_HGLOBAL));
      EXPECT_EQ(listed[i].dwAspect, static_cast<DWORD>(DVASPECT_CONTENT));
      EXPECT_EQ(data->QueryGetData(&listed[i]), S_OK);
    }
    std::vector<CLIPFORMAT> expected{CF_UNICODETEXT};
    if (c.ansi) expected.push_back(CF_TEXT);
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &raw), E_NOTIMPL);

    // The text in any other medium, or for another aspect, is refused, and the medium is left alone.
    for (const auto& [tymed, aspect] : {std::pair{TYMED_ISTREAM, DVASPECT_CONTENT},
                                        {TYMED_FILE, DVASPECT_CONTENT},
                                        {TYMED_HGLOBAL, DVASPECT_ICON}}) {
      SCOPED_TRACE("medium " + std::to_string(tymed) + " aspect " + std::to_string(aspect));
      FORMATETC other{CF_UNICODETEXT, nullptr, static_cast<DWORD>(aspect), -1, static_cast<DWORD>(tymed)};
      const HRESULT refusal = tymed == TYMED_HGLOBAL ? DV_E_DVASPECT : DV_E_TYMED;
      EXPECT_EQ(data->QueryGetData(&other), refusal);
      STGMEDIUM medium{};
      EXPECT_EQ(data->GetData(&other, &medium), refusal);
      EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_NULL));
      EXPECT_EQ(medium.hGlobal, nullptr);
    }
  }
}

// The drag out drops when the left button goes up and ends on Esc, whatever the other keys.
TEST(Win32DropSource, DropsOnButtonUpAndCancelsOnEscape) {
  const ComPtr<Win32DropSource> source = Win32DropSource::Create();
  ASSERT_TRUE(source);
  const struct {
    BOOL escape;
    DWORD keys;
    HRESULT answer;
  } cases[] = {
      {FALSE, MK_LBUTTON, S_OK},
      {FALSE, MK_LBUTTON | MK_SHIFT | MK_CONTROL, S_OK},
      {FALSE, 0, DRAGDROP_S_DROP},
      {FALSE, MK_RBUTTON, DRAGDROP_S_DROP},
      {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
      {TRUE, 0, DRAGDROP_S_CANCEL},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(source->QueryContinueDrag(c.escape, c.keys), c.answer) << c.escape << " keys " << c.keys;
  }
  EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

}  // namespace
}  // namespace timrose::win32
