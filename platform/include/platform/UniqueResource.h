#pragma once

#include <utility>

namespace tessaro::platform {

// A system handle with exactly one owner, which closes it. Traits says what
// the handle is and how it closes:
//   using Handle = ...;
//   static Handle None();             // the value that holds nothing
//   static bool Valid(Handle);        // whether a value is an open handle
//   static bool Close(Handle);        // false when the system reported an error
template <class Traits>
class UniqueResource {
 public:
  using Handle = typename Traits::Handle;

  UniqueResource() = default;
  explicit UniqueResource(Handle handle) : handle_(handle) {}
  UniqueResource(UniqueResource&& other) noexcept : handle_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;
  ~UniqueResource() { Close(); }

  Handle get() const { return handle_; }
  bool valid() const { return Traits::Valid(handle_); }
  Handle Release() { return std::exchange(handle_, Traits::None()); }
  // Closes now; false when closing reported an error, which for a file just
  // written may mean lost data.
  bool Close() { return !valid() || Traits::Close(Release()); }

 private:
  Handle handle_ = Traits::None();
};

}  // namespace tessaro::platform
