// Both built executables, inspected with Windows' own loader and version API.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string_view>
#include <string>
#include <vector>

namespace {

const wchar_t* const kExecutables[] = {QM_EXE32, QM_EXE64};

using Names = std::vector<std::wstring>;

std::wstring NameOf(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                : std::wstring(name);
}

// Every resource as "type/name/language".
BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD lang, LONG_PTR all) {
    reinterpret_cast<Names*>(all)->push_back(NameOf(type) + L"/" + NameOf(name) + L"/" +
                                             std::to_wstring(lang));
    return TRUE;
}
BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR all) {
    return EnumResourceLanguagesW(module, type, name, OnLanguage, all);
}
BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR all) {
    return EnumResourceNamesW(module, type, OnName, all);
}
Names ResourcesOf(HMODULE module) {
    Names all;
    EnumResourceTypesW(module, OnType, reinterpret_cast<LONG_PTR>(&all));
    return all;
}

std::vector<BYTE> Resource(HMODULE module, LPCWSTR type, LPCWSTR name) {
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return {};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    return std::vector<BYTE>(data, data + SizeofResource(module, found));
}

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ExecutableTest, CarriesExactlyTheIconGroupAndTheVersionBlock) {
    for (const wchar_t* exe : kExecutables) {
        SCOPED_TRACE(testing::Message() << exe);
        HMODULE module =
            LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(module);
        EXPECT_EQ(ResourcesOf(module), (Names{L"#3/#30001/0", L"#3/#30002/0", L"#3/#30003/0",
                                              L"#14/#1/0", L"#16/#1/1033"}))
            << "three icon images and one group, language neutral; the version in English (US)";

        const auto group = Resource(module, RT_GROUP_ICON, MAKEINTRESOURCEW(1));
        ASSERT_EQ(group.size(), 6 + 3 * sizeof(GroupEntry));
        EXPECT_EQ(group[2], 1) << "an icon, not a cursor";
        EXPECT_EQ(group[4], 3);
        const struct {
            int size, colours, bits, id;
        } want[] = {{32, 2, 1, 30001}, {32, 16, 4, 30002}, {16, 16, 4, 30003}};
        for (int i = 0; i < 3; ++i) {
            const auto& e =
                *reinterpret_cast<const GroupEntry*>(&group[6 + i * sizeof(GroupEntry)]);
            EXPECT_EQ(e.width, want[i].size);
            EXPECT_EQ(e.height, want[i].size);
            EXPECT_EQ(e.colours, want[i].colours);
            EXPECT_EQ(e.bitCount, want[i].bits);
            EXPECT_EQ(e.id, want[i].id);
            const auto image = Resource(module, RT_ICON, MAKEINTRESOURCEW(e.id));
            ASSERT_EQ(image.size(), e.bytes);
            const auto& dib = *reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
            EXPECT_EQ(dib.biWidth, want[i].size);
            EXPECT_EQ(dib.biHeight, 2 * want[i].size) << "the image and its AND mask";
            EXPECT_EQ(dib.biBitCount, want[i].bits);
            const int stride = ((want[i].size * want[i].bits + 31) / 32) * 4;
            const int mask = ((want[i].size + 31) / 32) * 4;
            EXPECT_EQ(image.size(), 40u + 4u * (1u << want[i].bits) +
                                        static_cast<size_t>((stride + mask) * want[i].size));
            HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data()),
                                                  static_cast<DWORD>(image.size()), TRUE,
                                                  0x00030000, 0, 0, 0);
            EXPECT_TRUE(icon) << "the system accepts it as an icon";
            DestroyIcon(icon);
        }
        FreeLibrary(module);
    }
}

TEST(ExecutableTest, VersionBlockHoldsExactlyTheProductDetails) {
    for (const wchar_t* exe : kExecutables) {
        SCOPED_TRACE(testing::Message() << exe);
        std::vector<BYTE> block(GetFileVersionInfoSizeW(exe, nullptr));
        ASSERT_FALSE(block.empty());
        ASSERT_TRUE(GetFileVersionInfoW(exe, 0, static_cast<DWORD>(block.size()), block.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT len = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
        EXPECT_EQ(fixed->dwProductVersionLS, 0u);
        EXPECT_EQ(fixed->dwFileFlags, 0u);
        EXPECT_EQ(fixed->dwFileOS, 4u);
        EXPECT_EQ(fixed->dwFileType, 1u);
        EXPECT_EQ(fixed->dwFileSubtype, 0u);

        WORD* translation = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                   reinterpret_cast<void**>(&translation), &len));
        ASSERT_EQ(len, 4u);
        EXPECT_EQ(translation[0], 0x0409);
        EXPECT_EQ(translation[1], 0x04B0);

        const std::map<std::wstring, std::wstring> strings = {
            {L"ProductName", L"Mirevale"},
            {L"FileVersion", L"1.00"},
            {L"ProductVersion", L"1.00"},
            {L"InternalName", L"Quillmark"},
            {L"OriginalFilename", L"Quillmark.exe"}};
        for (const auto& [key, value] : strings) {
            wchar_t* text = nullptr;
            ASSERT_TRUE(VerQueryValueW(block.data(),
                                       (L"\\StringFileInfo\\040904B0\\" + key).c_str(),
                                       reinterpret_cast<void**>(&text), &len))
                << key.c_str();
            EXPECT_EQ(std::wstring(text), value);
        }
        for (const wchar_t* other :
             {L"CompanyName", L"FileDescription", L"LegalCopyright", L"LegalTrademarks",
              L"Comments", L"PrivateBuild", L"SpecialBuild"}) {
            void* text = nullptr;
            EXPECT_FALSE(VerQueryValueW(
                block.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + other).c_str(),
                &text, &len))
                << other;
        }
    }
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

// The PE headers and import table, read from the file.
struct PeFile {
    explicit PeFile(const wchar_t* path) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    template <typename T>
    const T& At(size_t offset) const {
        return *reinterpret_cast<const T*>(bytes.data() + offset);
    }
    size_t Nt() const { return static_cast<size_t>(At<IMAGE_DOS_HEADER>(0).e_lfanew); }
    WORD Machine() const { return At<IMAGE_NT_HEADERS32>(Nt()).FileHeader.Machine; }
    bool Pe32Plus() const { return At<IMAGE_NT_HEADERS32>(Nt()).OptionalHeader.Magic == 0x20b; }
    // `read` applied to the optional header, which has a 32-bit and a 64-bit layout.
    template <typename Read>
    auto Optional(Read read) const {
        return Pe32Plus() ? read(At<IMAGE_NT_HEADERS64>(Nt()).OptionalHeader)
                          : read(At<IMAGE_NT_HEADERS32>(Nt()).OptionalHeader);
    }
    WORD Subsystem() const {
        return Optional([](const auto& o) { return o.Subsystem; });
    }
    size_t FromRva(DWORD rva) const {
        const auto& file = At<IMAGE_NT_HEADERS32>(Nt()).FileHeader;
        const size_t first = Nt() + 4 + sizeof(IMAGE_FILE_HEADER) + file.SizeOfOptionalHeader;
        for (WORD i = 0; i < file.NumberOfSections; ++i) {
            const auto& s = At<IMAGE_SECTION_HEADER>(first + i * sizeof(IMAGE_SECTION_HEADER));
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return 0;
    }
    // The lowest Windows version the loader is told the program needs, as 0xMMmm.
    int SubsystemVersion() const {
        return Optional([](const auto& o) {
            return o.MajorSubsystemVersion << 8 | o.MinorSubsystemVersion;
        });
    }
    int OperatingSystemVersion() const {
        return Optional([](const auto& o) {
            return o.MajorOperatingSystemVersion << 8 | o.MinorOperatingSystemVersion;
        });
    }
    // Every imported function, by DLL (upper case); imports by ordinal as "#N".
    std::map<std::string, std::set<std::string>> Imports() const {
        std::map<std::string, std::set<std::string>> all;
        const DWORD table = Optional([](const auto& o) {
            return o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        });
        for (size_t at = FromRva(table);
             At<IMAGE_IMPORT_DESCRIPTOR>(at).Name; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            const auto& d = At<IMAGE_IMPORT_DESCRIPTOR>(at);
            auto& functions = all[Upper(&At<char>(FromRva(d.Name)))];
            size_t thunk = FromRva(d.OriginalFirstThunk ? d.OriginalFirstThunk : d.FirstThunk);
            for (;; thunk += Pe32Plus() ? 8 : 4) {
                const ULONGLONG entry = Pe32Plus() ? At<ULONGLONG>(thunk) : At<DWORD>(thunk);
                if (!entry) break;
                const ULONGLONG byOrdinal = Pe32Plus() ? IMAGE_ORDINAL_FLAG64 : IMAGE_ORDINAL_FLAG32;
                if (entry & byOrdinal)
                    functions.insert(std::string(1, '#').append(std::to_string(entry & 0xFFFF)));
                else
                    functions.insert(&At<IMAGE_IMPORT_BY_NAME>(FromRva(static_cast<DWORD>(entry))).Name[0]);
            }
        }
        return all;
    }
    std::string bytes;
};

TEST(ExecutableTest, GraphicalProgramsThatNeedOnlyWindowsOwnDlls) {
    const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL",
                                           "ADVAPI32.DLL", "MSVCRT.DLL"};
    const struct {
        const wchar_t* path;
        WORD machine;
    } builds[] = {{QM_EXE32, IMAGE_FILE_MACHINE_I386}, {QM_EXE64, IMAGE_FILE_MACHINE_AMD64}};
    for (const auto& build : builds) {
        SCOPED_TRACE(testing::Message() << build.path);
        const PeFile pe(build.path);
        ASSERT_GT(pe.bytes.size(), 1024u);
        EXPECT_LE(pe.bytes.size(), 128u * 1024u) << "no debug information or unused runtime";
        EXPECT_EQ(pe.Machine(), build.machine);
        EXPECT_EQ(pe.Pe32Plus(), build.machine == IMAGE_FILE_MACHINE_AMD64);
        EXPECT_EQ(pe.Subsystem(), IMAGE_SUBSYSTEM_WINDOWS_GUI) << "no console window";
        const auto imports = pe.Imports();
        EXPECT_FALSE(imports.empty());
        for (const auto& [dll, functions] : imports) EXPECT_TRUE(allowed.count(dll)) << dll;
    }
}

// "dll function" lines of the exports that Windows XP lacks; a function "*_s" stands for
// every name ending in "_s".
std::vector<std::pair<std::string, std::string>> ExportsNewerThanXp() {
    std::vector<std::pair<std::string, std::string>> list;
    std::ifstream in(QM_NEWER_THAN_XP);
    std::string dll, function;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        fields >> dll >> function;
        list.emplace_back(Upper(dll + ".dll"), function);
    }
    return list;
}

bool Matches(std::string_view pattern, std::string_view name) {
    if (!pattern.starts_with('*')) return pattern == name;
    pattern.remove_prefix(1);
    return name.size() > pattern.size() && name.ends_with(pattern);
}

bool IsNewerThanXp(const std::vector<std::pair<std::string, std::string>>& newer,
                 const std::string& dll, const std::string& function) {
    for (const auto& [d, pattern] : newer)
        if (d == dll && Matches(pattern, function)) return true;
    return false;
}

TEST(ExecutableTest, LoadsOnWindowsXp) {
    const auto newer = ExportsNewerThanXp();
    // What the release once imported through the threads runtime, and what XP does have.
    ASSERT_TRUE(IsNewerThanXp(newer, "KERNEL32.DLL", "GetTickCount64"));
    ASSERT_TRUE(IsNewerThanXp(newer, "MSVCRT.DLL", "strcpy_s"));
    ASSERT_TRUE(IsNewerThanXp(newer, "USER32.DLL", "SetProcessDPIAware"));
    ASSERT_FALSE(IsNewerThanXp(newer, "KERNEL32.DLL", "GetTickCount"));
    ASSERT_FALSE(IsNewerThanXp(newer, "MSVCRT.DLL", "_ftol"));
    // The 64-bit build; 64-bit XP is 5.2. The 32-bit release has a stricter list below.
    const PeFile pe(QM_EXE64);
    EXPECT_LE(pe.SubsystemVersion(), 0x0502) << "XP's loader refuses newer ones";
    EXPECT_LE(pe.OperatingSystemVersion(), 0x0502);
    for (const auto& [dll, functions] : pe.Imports())
        for (const auto& function : functions) {
            EXPECT_NE(function[0], '#') << dll << " " << function << ": by number";
            EXPECT_FALSE(IsNewerThanXp(newer, dll, function))
                << dll << " " << function << " is not in Windows XP";
        }
}

TEST(ExecutableTest, TheReleaseImportsOnlyWhatWindows95AndNt4Have) {
    // "dll function | 95: evidence | NT 4.0: evidence" lines.
    std::set<std::string> listed;
    std::ifstream in(QM_WIN95_NT4_IMPORTS);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string dll, function;
        fields >> dll >> function;
        const auto win95 = line.find("| 95: "), nt4 = line.find("| NT 4.0: ");
        EXPECT_TRUE(win95 != std::string::npos && nt4 > win95 + 6 && nt4 + 10 < line.size())
            << "evidence for both systems: " << line;
        listed.insert(Upper(dll + ".dll") + " " + function);
    }
    ASSERT_GT(listed.size(), 50u);

    const PeFile pe(QM_EXE32);
    EXPECT_EQ(pe.SubsystemVersion(), 0x0400) << "asks for Windows 4.0, as 95 and NT 4.0 are";
    EXPECT_EQ(pe.OperatingSystemVersion(), 0x0400);
    std::set<std::string> imported;
    for (const auto& [dll, functions] : pe.Imports())
        for (const auto& function : functions) imported.insert(dll + " " + function);
    for (const auto& f : imported) EXPECT_TRUE(listed.count(f)) << f << ": not in the list";
    for (const auto& f : listed) EXPECT_TRUE(imported.count(f)) << f << ": listed, not imported";
}

}  // namespace
