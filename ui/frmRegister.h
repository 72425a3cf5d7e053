#pragma once
#include "app/base_window.h"
#include "app/unique_handle.h"

namespace qm {

inline constexpr wchar_t kMainCaption[] = L"Change Registered Name Of Your Computer";
inline constexpr wchar_t kMainClass[] = L"QuillmarkRegister";

// Control identifiers; 1 and 2 are left alone so that Enter and Escape click nothing.
inline constexpr int kContinueId = 100;
inline constexpr int kBackId = 101;
inline constexpr int kLabelId = 102;

class frmRegister : public BaseWindow<frmRegister> {
public:
    bool Create(int showCommand) noexcept;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

    void cmdContinue_Click() noexcept;
    void cmdBack_Click() noexcept;

private:
    bool CreateControls() noexcept;

    HWND cmdContinue_ = nullptr;
    HWND cmdBack_ = nullptr;
    HWND Label1_ = nullptr;
    HWND focus_ = nullptr;  // the control to give the focus back to on reactivation
    unique_hfont labelFont_;
};

}  // namespace qm
