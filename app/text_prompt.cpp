#include "app/text_prompt.h"

#include "app/system_ui.h"

namespace qm {
namespace {

// Writes a dialog template, item by item, into DWORD-aligned memory of its own.
class DialogTemplate {
  public:
    void Header(DWORD style, short cx, short cy, const wchar_t* title, WORD items, WORD fontPoints,
                const wchar_t* font) noexcept {
        Dword(style);
        Dword(0);  // extended style
        Word(items);
        Short(0), Short(0), Short(cx), Short(cy);
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        String(title);
        Word(fontPoints);
        String(font);
    }
    void Item(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id,
              const wchar_t* text) noexcept {
        while (size_ % 2 != 0) Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Short(x), Short(y), Short(cx), Short(cy);
        Word(id);
        Word(0xFFFF), Word(atom);
        String(text);
        Word(0);  // no creation data
    }
    // Null when the texts did not fit.
    const DLGTEMPLATE* Get() const noexcept {
        return size_ <= kWords ? reinterpret_cast<const DLGTEMPLATE*>(words_) : nullptr;
    }

  private:
    static constexpr std::size_t kWords = 512;
    void Word(WORD w) noexcept {
        if (size_ < kWords) words_[size_] = w;
        ++size_;
    }
    void Short(short s) noexcept { Word(static_cast<WORD>(s)); }
    void Dword(DWORD d) noexcept { Word(LOWORD(d)), Word(HIWORD(d)); }
    void String(const wchar_t* s) noexcept {
        while (*s) Word(static_cast<WORD>(*s++));
        Word(0);
    }
    alignas(4) WORD words_[kWords] = {};  // items must start on a DWORD boundary
    std::size_t size_ = 0;
};

constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

// The field's limit can meet a character halfway: a character beyond the Basic Multilingual
// Plane is two UTF-16 units, and under a double-byte code page (Windows 95, 98 and ME)
// many characters are two bytes. Whatever the field took of such a character is taken back,
// typed or pasted: its first half is left just before the caret with no partner after it.
void DropSplitCharacterBeforeCaret(HWND edit) noexcept {
    DWORD caret = 0;
    sys::Send(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    bool split;
    if (sys::AnsiOnly()) {
        char text[kPromptMaxChars + 2] = {};
        const int length = sys::TextOf(edit, text, static_cast<int>(sizeof text));
        if (caret == 0 || static_cast<int>(caret) > length) return;
        split = EndsWithLoneLeadByte(std::string_view(text, caret), CP_ACP);
    } else {
        wchar_t text[kPromptMaxChars + 2] = {};
        const int length = sys::TextOf(edit, text, static_cast<int>(std::size(text)));
        if (caret == 0 || static_cast<int>(caret) > length) return;
        split = IS_HIGH_SURROGATE(text[caret - 1]) && !IS_LOW_SURROGATE(text[caret]);
    }
    if (!split) return;
    sys::Send(edit, EM_SETSEL, caret - 1, caret);
    sys::ClearSelection(edit);
}

// Where typing into the open prompt's field stands; one prompt is open at a time (it is modal).
constinit TypedHalves typed(false, CP_ACP);

LRESULT CALLBACK WholeCharactersEditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    const LRESULT result = sys::CallOriginalProc(edit, msg, wp, lp);
    // A typed character of two halves arrives as two WM_CHARs; the limit refuses the second.
    if (msg == WM_PASTE || (msg == WM_CHAR && typed.IsSecondHalf(wp)))
        DropSplitCharacterBeforeCaret(edit);
    return result;
}

INT_PTR CALLBACK PromptProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
        case WM_INITDIALOG: {
            sys::SetLong(dlg, DWLP_USER, lp);
            typed = TypedHalves(sys::AnsiOnly(), CP_ACP);
            HWND edit = GetDlgItem(dlg, kPromptEditId);
            sys::Send(edit, EM_LIMITTEXT, kPromptMaxChars, 0);
            sys::Subclass(edit, WholeCharactersEditProc);
            SetFocus(edit);
            return FALSE;  // we placed the focus ourselves
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                auto* answer = reinterpret_cast<PromptText*>(sys::GetLong(dlg, DWLP_USER));
                const int length = sys::TextOf(GetDlgItem(dlg, kPromptEditId), answer->Buffer(),
                                               PromptText::BufferSize());
                answer->SetSize(static_cast<std::size_t>(length));
                EndDialog(dlg, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {  // Cancel, Escape and the close box all land here
                EndDialog(dlg, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

bool TypedHalves::IsSecondHalf(WPARAM unit) noexcept {
    if (!ansi_) return IS_LOW_SURROGATE(unit);
    const bool second = afterLeadByte_;
    afterLeadByte_ = !second && IsDBCSLeadByteEx(codePage_, static_cast<BYTE>(unit));
    return second;
}

bool EndsWithLoneLeadByte(std::string_view text, UINT codePage) noexcept {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsDBCSLeadByteEx(codePage, static_cast<BYTE>(text[i]))) continue;
        if (i + 1 == text.size()) return true;
        ++i;  // its second byte
    }
    return false;
}

PromptText ShowTextPrompt(HWND owner, const wchar_t* title, const wchar_t* prompt) noexcept {
    DialogTemplate t;
    t.Header(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 240, 64,
             title, 4, 8, L"MS Shell Dlg");
    t.Item(kStaticAtom, SS_LEFT | SS_NOPREFIX, 7, 7, 170, 34, kPromptTextId, prompt);
    t.Item(kEditAtom, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 45, 226, 12, kPromptEditId, L"");
    t.Item(kButtonAtom, BS_DEFPUSHBUTTON | WS_TABSTOP, 185, 7, 48, 14, IDOK, L"OK");
    t.Item(kButtonAtom, BS_PUSHBUTTON | WS_TABSTOP, 185, 25, 48, 14, IDCANCEL, L"Cancel");

    PromptText answer;
    const DLGTEMPLATE* dialog = t.Get();
    if (!dialog ||
        sys::ModalDialog(dialog, owner, PromptProc, reinterpret_cast<LPARAM>(&answer)) != IDOK)
        return {};
    return answer;
}

}  // namespace qm
