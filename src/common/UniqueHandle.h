#pragma once
// Move-only owner of one handle. Traits name the handle type, its empty value
// and the call that releases it:
//   struct Traits { using Handle = ...; static Handle Empty(); static void Release(Handle); };
// Traits are keyed on the release call, not on the handle type: HGLOBAL and
// HANDLE are the same type but are released differently.
#include <utility>

namespace WorkSpace {

template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Detach()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Empty(); }

    // Returns the handle and gives up ownership of it.
    Handle Detach() { return std::exchange(handle_, Traits::Empty()); }

    // Releases the owned handle (if any) and takes ownership of `handle`.
    void Reset(Handle handle = Traits::Empty()) {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::Empty()) Traits::Release(old);
    }

private:
    Handle handle_ = Traits::Empty();
};

}  // namespace WorkSpace
