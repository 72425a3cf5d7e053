// Both built executables, inspected with Windows' own loader and version API.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const wchar_t* const kExecutables[] = {QM_EXE32, QM_EXE};

using Names = std::vector<std::wstring>;

std::wstring NameOf(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                : std::wstring(name);
}

// Every resource as "type/name/language".
Names ResourcesOf(HMODULE module) {
    Names all;
    auto onLanguage = [](HMODULE, LPCWSTR type, LPCWSTR name, WORD lang, LONG_PTR out) -> BOOL {
        reinterpret_cast<Names*>(out)->push_back(NameOf(type) + L"/" + NameOf(name) + L"/" +
                                                 std::to_wstring(lang));
        return TRUE;
    };
    struct Context {
        Names* out;
        decltype(+onLanguage) lang;
    } ctx{&all, +onLanguage};
    EnumResourceTypesW(
        module,
        [](HMODULE m, LPWSTR type, LONG_PTR c) -> BOOL {
            return EnumResourceNamesW(
                m, type,
                [](HMODULE m2, LPCWSTR t, LPWSTR name, LONG_PTR c2) -> BOOL {
                    auto* cx = reinterpret_cast<Context*>(c2);
                    return EnumResourceLanguagesW(m2, t, name, cx->lang,
                                                  reinterpret_cast<LONG_PTR>(cx->out));
                },
                c);
        },
        reinterpret_cast<LONG_PTR>(&ctx));
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
    WORD Subsystem() const {
        return Pe32Plus() ? At<IMAGE_NT_HEADERS64>(Nt()).OptionalHeader.Subsystem
                          : At<IMAGE_NT_HEADERS32>(Nt()).OptionalHeader.Subsystem;
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
    std::set<std::string> Imports() const {
        const IMAGE_DATA_DIRECTORY& dir =
            Pe32Plus() ? At<IMAGE_NT_HEADERS64>(Nt())
                             .OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT]
                       : At<IMAGE_NT_HEADERS32>(Nt())
                             .OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        std::set<std::string> dlls;
        for (size_t at = FromRva(dir.VirtualAddress); At<IMAGE_IMPORT_DESCRIPTOR>(at).Name;
             at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            std::string name = &At<char>(FromRva(At<IMAGE_IMPORT_DESCRIPTOR>(at).Name));
            for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
            dlls.insert(name);
        }
        return dlls;
    }
    std::string bytes;
};

TEST(ExecutableTest, GraphicalProgramsThatNeedOnlyWindowsOwnDlls) {
    const std::set<std::string> allowed = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL",
                                           "ADVAPI32.DLL", "MSVCRT.DLL"};
    const struct {
        const wchar_t* path;
        WORD machine;
    } builds[] = {{QM_EXE32, IMAGE_FILE_MACHINE_I386}, {QM_EXE, IMAGE_FILE_MACHINE_AMD64}};
    for (const auto& build : builds) {
        SCOPED_TRACE(testing::Message() << build.path);
        const PeFile pe(build.path);
        ASSERT_GT(pe.bytes.size(), 1024u);
        EXPECT_LE(pe.bytes.size(), 1024u * 1024u) << "no debug information or bulky libraries";
        EXPECT_EQ(pe.Machine(), build.machine);
        EXPECT_EQ(pe.Pe32Plus(), build.machine == IMAGE_FILE_MACHINE_AMD64);
        EXPECT_EQ(pe.Subsystem(), IMAGE_SUBSYSTEM_WINDOWS_GUI) << "no console window";
        const auto imports = pe.Imports();
        EXPECT_FALSE(imports.empty());
        for (const auto& dll : imports) EXPECT_TRUE(allowed.count(dll)) << dll;
    }
}

}  // namespace
