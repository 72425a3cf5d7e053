// The release of this build's bitness, through Windows' own loader, resource and version calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "tools/uidriver/ui_driver.h"

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

// Resource types 3 (icon), 14 (icon group), 16 (version); only the version is not neutral.
TEST_F(ExecutableTest, CarriesTheIconAndTheVersionAndNothingElse) {
    if (sizeof(void*) == 8) GTEST_SKIP() << "the same resources as the 32-bit release's";
    std::vector<std::string> all;
    EnumResourceTypesW(module, OnType, reinterpret_cast<LONG_PTR>(&all));
    EXPECT_EQ(all, (std::vector<std::string>{"3/30001/0", "3/30002/0", "3/30003/0", "14/1/0",
                                             "16/1/1033"}));

    // Each image as the system picks it for a size and depth, drawn over a clear colour: white,
    // a cyan title bar, a black outline, a grey shadow; the two-colour one black and white alone.
    const auto group = Resource(RT_GROUP_ICON, 1);
    const COLORREF clear = RGB(1, 2, 3), white = RGB(255, 255, 255), cyan = RGB(0, 255, 255);
    const std::set<COLORREF> mono = {clear, 0, white},
                             vga = {clear, 0, white, cyan, RGB(128, 128, 128)};
    const std::tuple<int, UINT, int, BYTE, std::set<COLORREF>> icons[] = {
        {32, LR_MONOCHROME, 30001, 1, mono}, {32, 0, 30002, 4, vga}, {16, 0, 30003, 4, vga}};
    for (const auto& [size, depth, id, bits, colours] : icons) {
        EXPECT_EQ(LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data()), TRUE, size, size, depth), id);
        const auto image = Resource(RT_ICON, id);
        EXPECT_EQ(image.size() > 40 ? image[14] : 0, bits) << id << ": bits per pixel";
        const auto icon = static_cast<HICON>(
            LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, depth));
        std::set<COLORREF> seen;
        Pixels(size, size, [&](HDC dc) {
            const RECT r = {0, 0, size, size};
            SetBkColor(dc, clear);
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
            DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            for (int i = 0; i < size * size; ++i) seen.insert(GetPixel(dc, i % size, i / size));
        });
        EXPECT_EQ(seen, colours) << id;
        DestroyIcon(icon);
    }

    // The project's version as numbers and as text ("1.00" for 1.0.0); no other string.
    std::vector<BYTE> block(GetFileVersionInfoSizeW(QM_EXE, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(QM_EXE, 0, static_cast<DWORD>(block.size()), block.data()));
    auto query = [&](const std::wstring& path) {
        void* value = nullptr;
        UINT len = 0;
        return VerQueryValueW(block.data(), path.c_str(), &value, &len) && len ? value : nullptr;
    };
    const auto* fixed = static_cast<const DWORD*>(query(L"\\"));  // VS_FIXEDFILEINFO's words
    ASSERT_TRUE(fixed);
    const DWORD ms = MAKELONG(0, 1), ls = 0;  // 1.0.0.0 twice, any flag mask, flags, OS, type, subtype
    const std::vector<DWORD> got(fixed + 2, fixed + 11);
    EXPECT_EQ(got, (std::vector<DWORD>{ms, ls, ms, ls, got[4], 0, VOS__WINDOWS32, VFT_APP, 0}));
    const auto* translation = static_cast<const DWORD*>(query(L"\\VarFileInfo\\Translation"));
    EXPECT_EQ(translation ? *translation : 0, 0x04B00409u) << "English (US), Unicode";
    auto string = [&](const wchar_t* key) {
        const auto* found = query(std::wstring(L"\\StringFileInfo\\040904B0\\") + key);
        return found ? std::wstring(static_cast<const wchar_t*>(found)) : L"(none)";
    };
    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"ProductName", L"Mirevale"}, {L"FileVersion", L"1.00"}, {L"ProductVersion", L"1.00"},
        {L"InternalName", L"Quillmark"}, {L"OriginalFilename", L"Quillmark.exe"}};
    for (auto [key, value] : strings) EXPECT_EQ(string(key), value) << key;
    for (auto key : {L"CompanyName", L"FileDescription", L"LegalCopyright", L"LegalTrademarks",
                     L"Comments", L"PrivateBuild", L"SpecialBuild"})
        EXPECT_EQ(string(key), L"(none)") << key;
}

std::set<std::string> Listed(const wchar_t* file, const std::regex& form) {
    std::set<std::string> listed;
    std::ifstream in{std::filesystem::path(file)};
    for (std::string line, dll, function; std::getline(in, line);)
        if (!line.empty() && line[0] != '#' && std::istringstream(line) >> dll >> function) {
            EXPECT_TRUE(std::regex_match(line, form)) << line;
            listed.insert(dll + " " + function);
        }
    return listed;
}

TEST_F(ExecutableTest, AGraphicalProgramThatImportsOnlyWhatItsOldestWindowsHas) {
    EXPECT_LE(std::filesystem::file_size(QM_EXE), 128u * 1024u) << "no debug information";
    const auto& header = Nt().OptionalHeader;
    EXPECT_EQ(Nt().FileHeader.Machine,
              sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(header.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI) << "no console window";
    const auto imports = Imports();
    const int subsystem = header.MajorSubsystemVersion << 8 | header.MinorSubsystemVersion;
    const int os = header.MajorOperatingSystemVersion << 8 | header.MinorOperatingSystemVersion;
    // Windows 95 and NT 4.0: each import listed with where the documentation shows it on both.
    const auto listed = Listed(QM_IMPORT_LIST, std::regex(sizeof(void*) == 8 ? "\\S+ \\S+"
                                                          : ".* \\| 95: .+ \\| NT 4\\.0: .+"));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(subsystem * 0x10000 + os, 0x04000400) << "asks for Windows 4.0";
        EXPECT_EQ(imports, listed);
    } else {
        // 64-bit Windows XP (5.2): nothing its loader refuses, no export it lacks, none by number.
        EXPECT_LE(std::max(subsystem, os), 0x0502);
        ASSERT_TRUE(listed.count("kernel32 GetTickCount64")) << "set-up: the list";
        const std::regex windowsOwn("(kernel32|user32|gdi32|advapi32) \\w+");  // no C run-time
        for (const std::string& f : imports)
            EXPECT_TRUE(!listed.count(f) && std::regex_match(f, windowsOwn))
                << f << " is not in Windows XP, imported by number, or not from its own DLLs";
    }
}

}  // namespace
