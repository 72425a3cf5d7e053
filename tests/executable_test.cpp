// The release of this build's bitness, mapped by Windows' own loader and read through its
// resource and version functions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "tests/support.h"

#include <dbghelp.h>

namespace {

using namespace qmtest;

class ExecutableTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(module) << "the loader maps it"; }
    void TearDown() override { FreeLibrary(module); }
    const BYTE* Base() const { return reinterpret_cast<const BYTE*>(module); }
    const IMAGE_NT_HEADERS& Nt() const { return *ImageNtHeader(module); }
    std::vector<BYTE> Resource(LPCWSTR type, int id) const {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        return found ? std::vector<BYTE>(data, data + SizeofResource(module, found))
                     : std::vector<BYTE>();
    }
    // Every imported function as "dll Function" ("kernel32 GetVersion"); by number as "#N".
    std::set<std::string> Imports() const {
        std::set<std::string> all;
        const auto& table = Nt().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Base() + table.VirtualAddress);
             d->Name; ++d) {
            std::string dll = reinterpret_cast<const char*>(Base() + d->Name);
            for (char& c : dll) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            dll.resize(dll.rfind('.'));
            for (auto* t = reinterpret_cast<const IMAGE_THUNK_DATA*>(Base() + d->OriginalFirstThunk);
                 t->u1.AddressOfData; ++t)
                all.insert(dll + " " +
                           (IMAGE_SNAP_BY_ORDINAL(t->u1.Ordinal)
                                ? "#" + std::to_string(IMAGE_ORDINAL(t->u1.Ordinal))
                                : reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(
                                      Base() + t->u1.AddressOfData)->Name));
        }
        return all;
    }
    HMODULE module = LoadLibraryExW(QM_EXE, nullptr, DONT_RESOLVE_DLL_REFERENCES);
};

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD lang, LONG_PTR all) {
    reinterpret_cast<std::vector<std::string>*>(all)->push_back(
        std::to_string(reinterpret_cast<ULONG_PTR>(type)) + "/" +
        std::to_string(reinterpret_cast<ULONG_PTR>(name)) + "/" + std::to_string(lang));
    return TRUE;
}
BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR all) {
    return EnumResourceLanguagesW(module, type, name, OnLanguage, all);
}
BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR all) {
    return EnumResourceNamesW(module, type, OnName, all);
}

TEST_F(ExecutableTest, CarriesTheIconGroupAndTheVersionBlockAndNothingElse) {
    std::vector<std::string> all;
    EnumResourceTypesW(module, OnType, reinterpret_cast<LONG_PTR>(&all));
    EXPECT_EQ(all, (std::vector<std::string>{"3/30001/0", "3/30002/0", "3/30003/0", "14/1/0",
                                             "16/1/1033"}))
        << "three icon images and one group, language neutral; the version in English (US)";

    // The group: 32 x 32 in 2 and in 16 colours, 16 x 16 in 16; each image one the system takes.
    const auto group = Resource(RT_GROUP_ICON, 1);
    ASSERT_EQ(group.size(), 6u + 3 * 14);
    EXPECT_EQ(group[2] * 256 + group[4], 1 * 256 + 3) << "an icon group of three";
    const int want[3][4] = {{32, 2, 1, 30001}, {32, 16, 4, 30002}, {16, 16, 4, 30003}};
    for (int i = 0; i < 3; ++i) {
        const BYTE* e = &group[6 + 14 * i];  // size, colours, bits, bytes, identifier
        const int id = e[12] | e[13] << 8;
        auto image = Resource(RT_ICON, id);
        const auto& dib = *reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        EXPECT_EQ((std::vector<long>{e[0], e[1], e[2], e[6], id, dib.biWidth, dib.biHeight, dib.biBitCount}),
                  (std::vector<long>{want[i][0], want[i][0], want[i][1], want[i][2], want[i][3],
                                     want[i][0], 2 * want[i][0], want[i][2]}))
            << "the group entry, then the image, twice as high for its mask";
        EXPECT_EQ(image.size(), static_cast<size_t>(e[8] | e[9] << 8));
        HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()),
                                              TRUE, 0x00030000, 0, 0, 0);
        EXPECT_TRUE(icon) << id;
        DestroyIcon(icon);
    }

    std::vector<BYTE> block(GetFileVersionInfoSizeW(QM_EXE, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(QM_EXE, 0, static_cast<DWORD>(block.size()), block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ((std::vector<DWORD>{fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                  fixed->dwProductVersionMS, fixed->dwProductVersionLS,
                                  fixed->dwFileFlags, fixed->dwFileOS, fixed->dwFileType,
                                  fixed->dwFileSubtype}),
              (std::vector<DWORD>{0x10000, 0, 0x10000, 0, 0, VOS__WINDOWS32, VFT_APP, 0}));
    DWORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &len));
    EXPECT_EQ(len == 4 ? *translation : 0, 0x04B00409u) << "English (US), Unicode";
    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"ProductName", L"Mirevale"}, {L"FileVersion", L"1.00"}, {L"ProductVersion", L"1.00"},
        {L"InternalName", L"Quillmark"}, {L"OriginalFilename", L"Quillmark.exe"},
        {L"CompanyName", nullptr}, {L"FileDescription", nullptr}, {L"LegalCopyright", nullptr},
        {L"LegalTrademarks", nullptr}, {L"Comments", nullptr}, {L"PrivateBuild", nullptr},
        {L"SpecialBuild", nullptr}};
    for (auto [key, value] : strings) {
        wchar_t* text = nullptr;
        const bool found = VerQueryValueW(
            block.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + key).c_str(),
            reinterpret_cast<void**>(&text), &len);
        EXPECT_EQ(found ? std::wstring(text) : L"(none)", value ? value : L"(none)") << key;
    }
}

// The lines of a list in tests/data, by their first two words, "dll Function".
std::map<std::string, std::string> Listed(const wchar_t* file) {
    std::map<std::string, std::string> listed;
    std::ifstream in{std::filesystem::path(file)};
    for (std::string line, dll, function; std::getline(in, line);)
        if (!line.empty() && line[0] != '#' && std::istringstream(line) >> dll >> function)
            listed[dll + " " + function] = line;
    return listed;
}

TEST_F(ExecutableTest, AGraphicalProgramThatImportsOnlyWhatItsOldestWindowsHas) {
    EXPECT_LE(std::filesystem::file_size(QM_EXE), 128u * 1024u) << "no debug information";
    const auto& header = Nt().OptionalHeader;
    EXPECT_EQ(Nt().FileHeader.Machine,
              sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(header.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI) << "no console window";
    const auto imports = Imports();
    const std::regex windowsOwn("(kernel32|user32|gdi32|advapi32) .*");
    for (const std::string& f : imports)
        EXPECT_TRUE(std::regex_match(f, windowsOwn))
            << f << ": only Windows' own DLLs, no C run-time library";
    const int subsystem = header.MajorSubsystemVersion << 8 | header.MinorSubsystemVersion;
    const int os = header.MajorOperatingSystemVersion << 8 | header.MinorOperatingSystemVersion;
    const auto listed = Listed(QM_IMPORT_LIST);
    if (sizeof(void*) == 4) {
        // Windows 95 and NT 4.0: every import listed with where the documentation shows it on
        // both, and every listed function imported.
        EXPECT_EQ(subsystem * 0x10000 + os, 0x04000400) << "asks for Windows 4.0";
        std::set<std::string> names;
        const std::regex evidence(".* \\| 95: .+ \\| NT 4\\.0: .+");
        for (const auto& [name, line] : listed) {
            names.insert(name);
            EXPECT_TRUE(std::regex_match(line, evidence)) << line;
        }
        EXPECT_EQ(imports, names);
    } else {
        // 64-bit Windows XP (5.2): nothing its loader refuses, no export it lacks ("*_s": every
        // name that ends so), nothing by number.
        EXPECT_LE(std::max(subsystem, os), 0x0502);
        ASSERT_TRUE(listed.count("kernel32 GetTickCount64") && listed.count("msvcrt *_s"));
        for (const std::string& f : imports)
            EXPECT_FALSE(listed.count(f) || f.find(" #") != f.npos ||
                         listed.count(f.substr(0, f.find(' ') + 1) + "*" + f.substr(f.size() - 2)))
                << f << " is not in Windows XP, or imported by number";
    }
}

}  // namespace
