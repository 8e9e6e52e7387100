// Owners for what COM hands out: an interface pointer (Release), a BSTR
// (SysFreeString), a VARIANT (VariantClear), and the apartment of a thread
// (CoUninitialize), so that no early return leaks one.
#pragma once

#include <windows.h>
// windows.h first: these headers depend on its types.
#include <objbase.h>
#include <oleauto.h>

#include <utility>

namespace osk::win32 {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != &o) reset(std::exchange(o.p_, nullptr));
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For an out-parameter: drops what is held and lends the slot.
  T** put() {
    reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  // QueryInterface for U; empty when the object has no U.
  template <class U>
  HRESULT as(ComPtr<U>& out) const {
    return p_ == nullptr ? E_POINTER : p_->QueryInterface(__uuidof(U), out.putVoid());
  }

 private:
  void reset(T* p = nullptr) {
    if (T* old = std::exchange(p_, p)) old->Release();
  }
  T* p_ = nullptr;
};

class UniqueBstr {
 public:
  explicit UniqueBstr(const wchar_t* s) : s_(::SysAllocString(s)) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  UniqueBstr(UniqueBstr&&) = delete;
  UniqueBstr& operator=(UniqueBstr&&) = delete;
  ~UniqueBstr() { ::SysFreeString(s_); }
  BSTR get() const { return s_; }

 private:
  BSTR s_;
};

class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&v_); }
  // A string (VT_BSTR, owned) or, with `number`, a VT_I4.
  explicit UniqueVariant(const wchar_t* s) : UniqueVariant() {
    v_.vt = VT_BSTR;
    v_.bstrVal = ::SysAllocString(s);
  }
  explicit UniqueVariant(LONG number) : UniqueVariant() {
    v_.vt = VT_I4;
    v_.lVal = number;
  }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  UniqueVariant(UniqueVariant&&) = delete;
  UniqueVariant& operator=(UniqueVariant&&) = delete;
  ~UniqueVariant() { ::VariantClear(&v_); }
  VARIANT& get() { return v_; }
  // False when a string could not be allocated.
  bool valid() const { return v_.vt != VT_BSTR || v_.bstrVal != nullptr; }

 private:
  VARIANT v_{};
};

// COM on this thread for the owner's lifetime, when the system grants it.
class ComApartment {
 public:
  ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ComApartment(ComApartment&&) = delete;
  ComApartment& operator=(ComApartment&&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(hr_)) ::CoUninitialize();
  }
  HRESULT result() const { return hr_; }

 private:
  HRESULT hr_;
};

}  // namespace osk::win32
