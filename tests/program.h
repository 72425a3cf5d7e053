#pragma once
// Which copy of the release the tests drive, and as which Windows.
#include <string>

namespace qmtest {

// Has Wine run the program file `exe` (any folder) as Windows `version`: "win98", "nt40", ...
void RunAsWindowsVersion(const std::wstring& exe, const std::wstring& version);

// The release of this build's bitness; or the copy that QM_PROGRAM names, run as the
// Windows version that QM_WINDOWS_VERSION names.
const std::wstring& ProgramUnderTest();

}  // namespace qmtest
