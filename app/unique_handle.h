#pragma once
// Small owners for the handles the program opens, so nothing leaks on any path.
#include <windows.h>

#include <utility>

namespace qm {

template <typename Handle, auto Close, auto Invalid = Handle{}>
class UniqueHandle {
  public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Handle(Invalid))) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Handle(Invalid)));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Handle(Invalid); }
    // For out-parameters: releases what is held and hands out the slot.
    Handle* put() noexcept {
        reset();
        return &h_;
    }
    Handle release() noexcept { return std::exchange(h_, Handle(Invalid)); }
    void reset(Handle h = Handle(Invalid)) noexcept {
        if (h_ != Handle(Invalid)) Close(h_);
        h_ = h;
    }

  private:
    Handle h_ = Handle(Invalid);
};

using unique_hfont = UniqueHandle<HFONT, &DeleteObject>;

}  // namespace qm
