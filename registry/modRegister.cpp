#include "registry/modRegister.h"

#include "app/unique_handle.h"
#include "registry/ansi_text.h"

namespace modRegister {
namespace {

// The key is closed here and nowhere else; RegCloseKey only ever sees a key that opened.
using unique_hkey = qm::UniqueHandle<HKEY, &RegCloseKey>;

}  // namespace

LONG WriteRegString(HKEY root, std::wstring_view subKeyPath, std::wstring_view valueName,
                    std::wstring_view data) {
    // Convert everything first, so that a refused text leaves the registry as it was.
    qm::AnsiText path, name, bytes;
    for (LONG status : {qm::ToAnsiExact(subKeyPath, path), qm::ToAnsiExact(valueName, name),
                        qm::ToAnsiExact(data, bytes)})
        if (status != ERROR_SUCCESS) return status;

    unique_hkey key;
    LONG status = RegCreateKeyA(root, path.c_str(), key.put());
    if (status != ERROR_SUCCESS) {
        key.release();  // whatever a failed open left in the slot is not a key to close
        return status;
    }

    // c_str() supplies the terminating NUL, which the length counts.
    return RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(bytes.c_str()),
                          static_cast<DWORD>(bytes.size() + 1));
}

}  // namespace modRegister
