#include "app/text_prompt.h"

#include <cstdint>
#include <vector>

namespace qm {
namespace {

// Writes a dialog template, item by item, into DWORD-aligned memory.
class DialogTemplate {
  public:
    void Header(DWORD style, short cx, short cy, std::wstring_view title, WORD items,
                WORD fontPoints, std::wstring_view font) {
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
              std::wstring_view text) {
        while (words_.size() % 2 != 0) Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Short(x), Short(y), Short(cx), Short(cy);
        Word(id);
        Word(0xFFFF), Word(atom);
        String(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Short(short s) { Word(static_cast<WORD>(s)); }
    void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    void String(std::wstring_view s) {
        for (wchar_t c : s) Word(static_cast<WORD>(c));
        Word(0);
    }
    std::vector<WORD> words_;  // WORD storage keeps the DWORD alignment that items need
};

constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

struct Answer {
    wchar_t text[kPromptMaxChars + 1] = {};
    int length = 0;
};

// The field's limit counts UTF-16 units, so a character beyond the Basic Multilingual Plane
// (two units) can meet it halfway. Whatever the field took of such a character is taken
// back, typed or pasted: the half left just before the caret has no partner after it.
void DropSplitCharacterBeforeCaret(HWND edit) noexcept {
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    wchar_t text[kPromptMaxChars + 2] = {};
    const int length = GetWindowTextW(edit, text, static_cast<int>(std::size(text)));
    if (caret == 0 || static_cast<int>(caret) > length) return;
    if (!IS_HIGH_SURROGATE(text[caret - 1]) || IS_LOW_SURROGATE(text[caret])) return;
    SendMessageW(edit, EM_SETSEL, caret - 1, caret);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
}

LRESULT CALLBACK WholeCharactersEditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    const LRESULT result = CallWindowProcW(original, edit, msg, wp, lp);
    // A typed character arrives as two WM_CHARs, one per half; the limit refuses the second.
    if (msg == WM_PASTE || (msg == WM_CHAR && IS_LOW_SURROGATE(wp)))
        DropSplitCharacterBeforeCaret(edit);
    return result;
}

INT_PTR CALLBACK PromptProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dlg, DWLP_USER, lp);
            HWND edit = GetDlgItem(dlg, kPromptEditId);
            SendMessageW(edit, EM_LIMITTEXT, kPromptMaxChars, 0);
            SetWindowLongPtrW(edit, GWLP_USERDATA, GetWindowLongPtrW(edit, GWLP_WNDPROC));
            SetWindowLongPtrW(edit, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(WholeCharactersEditProc));
            SetFocus(edit);
            return FALSE;  // we placed the focus ourselves
        }
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) {
                auto* answer = reinterpret_cast<Answer*>(GetWindowLongPtrW(dlg, DWLP_USER));
                answer->length = GetDlgItemTextW(dlg, kPromptEditId, answer->text,
                                                 static_cast<int>(std::size(answer->text)));
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

std::wstring ShowTextPrompt(HWND owner, std::wstring_view title, std::wstring_view prompt) {
    DialogTemplate t;
    t.Header(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 240, 64,
             title, 4, 8, L"MS Shell Dlg");
    t.Item(kStaticAtom, SS_LEFT | SS_NOPREFIX, 7, 7, 170, 34, kPromptTextId, prompt);
    t.Item(kEditAtom, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 45, 226, 12, kPromptEditId, L"");
    t.Item(kButtonAtom, BS_DEFPUSHBUTTON | WS_TABSTOP, 185, 7, 48, 14, IDOK, L"OK");
    t.Item(kButtonAtom, BS_PUSHBUTTON | WS_TABSTOP, 185, 25, 48, 14, IDCANCEL, L"Cancel");

    Answer answer;
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner,
                                                   PromptProc, reinterpret_cast<LPARAM>(&answer));
    if (result != IDOK) return {};
    return std::wstring(answer.text, static_cast<size_t>(answer.length));
}

}  // namespace qm
