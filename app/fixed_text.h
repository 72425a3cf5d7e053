#pragma once
// A short Unicode text held in place. The program's texts all have a known bound (a
// prompt's answer, a message), so none of them needs the heap; a longer input is cut at the
// bound.
#include <cstddef>
#include <string_view>

namespace qm {

template <std::size_t Capacity>
class FixedText {
  public:
    FixedText() noexcept = default;
    explicit FixedText(std::wstring_view text) noexcept { Append(text); }

    FixedText& Append(std::wstring_view text) noexcept {
        for (wchar_t c : text) {
            if (size_ == Capacity) break;
            chars_[size_++] = c;
        }
        chars_[size_] = L'\0';
        return *this;
    }
    // A NUL-terminated text, taken as it is read: no run-time library to measure it first.
    FixedText& Append(const wchar_t* text) noexcept {
        while (*text && size_ < Capacity) chars_[size_++] = *text++;
        chars_[size_] = L'\0';
        return *this;
    }
    std::wstring_view View() const noexcept { return {chars_, size_}; }
    const wchar_t* c_str() const noexcept { return chars_; }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    // For a function that writes the text itself: room for Capacity characters and a NUL.
    wchar_t* Buffer() noexcept { return chars_; }
    static constexpr int BufferSize() noexcept { return static_cast<int>(Capacity + 1); }
    void SetSize(std::size_t size) noexcept {
        size_ = size < Capacity ? size : Capacity;
        chars_[size_] = L'\0';
    }

  private:
    wchar_t chars_[Capacity + 1] = {};
    std::size_t size_ = 0;
};

}  // namespace qm
