#pragma once
// Small owners for the Windows handles the window holds: each frees its handle exactly once, in
// its destructor, so no code path frees anything by hand.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <new>
#include <type_traits>
#include <utility>

namespace timrose::win32 {

// One owner template: Traits names the handle type, its empty value and how it is freed.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Hands the handle to a new owner that frees it (a receiver of a data object's medium).
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Traits::Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct FontTraits {
  using Handle = HFONT;
  static void Free(HFONT h) { DeleteObject(h); }
};
struct BrushTraits {
  using Handle = HBRUSH;
  static void Free(HBRUSH h) { DeleteObject(h); }
};
// Only for cursors and icons loaded without LR_SHARED: shared ones belong to the system.
struct CursorTraits {
  using Handle = HCURSOR;
  static void Free(HCURSOR h) { DestroyCursor(h); }
};
struct IconTraits {
  using Handle = HICON;
  static void Free(HICON h) { DestroyIcon(h); }
};

// A window of our own that no parent destroys (a tooltip without an owner).
struct WindowTraits {
  using Handle = HWND;
  static void Free(HWND h) { DestroyWindow(h); }
};

// Movable global memory, the medium of clipboard and drag-and-drop data.
struct GlobalTraits {
  using Handle = HGLOBAL;
  static void Free(HGLOBAL h) { GlobalFree(h); }
};

using UniqueFont = UniqueHandle<FontTraits>;
using UniqueBrush = UniqueHandle<BrushTraits>;
using UniqueCursor = UniqueHandle<CursorTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueGlobal = UniqueHandle<GlobalTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;

// A window's display context, for measuring its text; given back to the window when done.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// OLE for the calling thread (drag-and-drop needs it, the file dialog's shell view likes it).
// Uninitialises only when its own initialisation succeeded.
class OleInitialization {
 public:
  OleInitialization() : result_(OleInitialize(nullptr)) {}
  OleInitialization(const OleInitialization&) = delete;
  OleInitialization& operator=(const OleInitialization&) = delete;
  ~OleInitialization() {
    if (SUCCEEDED(result_)) OleUninitialize();
  }
  bool Succeeded() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

// A COM interface pointer that holds one reference.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds (a fresh object, an out parameter).
  static ComPtr Attach(T* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  // Takes a reference of its own to an object that someone else holds (an argument, `this`).
  static ComPtr Retain(T* p) {
    if (p) p->AddRef();
    return Attach(p);
  }
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr& operator=(const ComPtr& other) {
    ComPtr copy(other);
    std::swap(p_, copy.p_);
    return *this;
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr moved(std::move(other));
    std::swap(p_, moved.p_);
    return *this;
  }
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// IUnknown for an object that offers one COM interface: created holding one reference, for its
// creator, and deleted when the last reference goes.
template <typename Interface>
class ComObject : public Interface {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(Interface))) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  LONG references_ = 1;
};

// The one way a COM object of ours comes to life: `make` news it, holding one reference, and the
// result owns that reference. Out of memory gives an empty pointer, never an exception, and every
// caller treats that as the feature being unavailable (no drops, no drag).
template <typename Make>
auto NewComObject(Make&& make) -> ComPtr<std::remove_pointer_t<decltype(make())>> {
  using Object = std::remove_pointer_t<decltype(make())>;
  try {
    return ComPtr<Object>::Attach(make());
  } catch (const std::bad_alloc&) {
    return ComPtr<Object>();
  }
}

// A global memory block handed out by IDataObject::GetData, released with ReleaseStgMedium.
class StorageMedium {
 public:
  StorageMedium() = default;
  StorageMedium(const StorageMedium&) = delete;
  StorageMedium& operator=(const StorageMedium&) = delete;
  ~StorageMedium() {
    if (filled_) ReleaseStgMedium(&medium_);
  }
  STGMEDIUM* Receive() {
    filled_ = true;
    return &medium_;
  }
  void MarkEmpty() { filled_ = false; }
  const STGMEDIUM& get() const { return medium_; }

 private:
  STGMEDIUM medium_{};
  bool filled_ = false;
};

}  // namespace timrose::win32
