#pragma once
#include <optional>

#include "app/base_window.h"
#include "app/unique_handle.h"
#include "ui/picture.h"
#include "ui/picture_button.h"

namespace qm {

inline constexpr wchar_t kMainCaption[] = L"Change Registered Name Of Your Computer";
inline constexpr wchar_t kMainClass[] = L"QuillmarkRegister";

// Control identifiers; 1 and 2 are left alone so that Enter and Escape click nothing.
inline constexpr int kContinueId = 100;
inline constexpr int kBackId = 101;
inline constexpr int kLabelId = 102;

class frmRegister : public BaseWindow<frmRegister> {
  public:
    // False, with nothing of it left, when the window, a control, the font or a picture
    // could not be made.
    bool Create(int showCommand) noexcept;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

    void cmdContinue_Click() noexcept;
    void cmdBack_Click() noexcept;

  private:
    bool LoadPictures() noexcept;
    bool CreateControls() noexcept;
    const PictureButtonLook* LookOf(UINT id) const noexcept;

    HWND cmdContinue_ = nullptr;
    HWND cmdBack_ = nullptr;
    HWND Label1_ = nullptr;
    HWND focus_ = nullptr;  // the control to give the focus back to on reactivation
    unique_hfont labelFont_;
    std::optional<Picture> background_;
    std::optional<PictureButtonLook> continueLook_, backLook_;
};

}  // namespace qm
