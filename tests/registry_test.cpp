// The registry writer against Wine's real registry in the test prefix.
#include <gtest/gtest.h>

#include "registry/modRegister.h"
#include "tests/support.h"

#include <sddl.h>

namespace {

using modRegister::WriteRegString;
using namespace qmtest;

constexpr wchar_t kScratch[] = L"Software\\QuillmarkTest";

class WriteRegStringTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 1252u) << "byte checks assume the Western code page";
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); }
    const std::wstring key = std::wstring(kScratch) + L"\\a\\b";
};

TEST_F(WriteRegStringTest, StoresEachCharacterAsOneCodePageByteAndOneNul) {
    ASSERT_NO_FATAL_FAILURE(Store(HKEY_CURRENT_USER, key, "Other", "keep me"));
    ASSERT_NO_FATAL_FAILURE(Store(HKEY_CURRENT_USER, key + L"\\Child", "Deep", "keep me too"));
    const DWORD number = 7;
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"V", REG_DWORD, &number, 4);
    const std::pair<const wchar_t*, std::string> cases[] = {
        {L"Acme Ltd", "Acme Ltd"}, {L"2nd", "2nd"},  // a shorter text keeps no old bytes
        {L"", ""}, {L"   ", "   "}, {L" Caf\u00e9 \u20ac ", " Caf\xe9 \x80 "}};
    for (auto [text, bytes] : cases) {
        EXPECT_EQ(WriteRegString(HKEY_CURRENT_USER, key, L"V", text), ERROR_SUCCESS);
        EXPECT_EQ(Read(HKEY_CURRENT_USER, key, "V"), Sz(bytes)) << "replacing type and data";
    }
    EXPECT_EQ(Read(HKEY_CURRENT_USER, key, "Other"), Sz("keep me"));
    EXPECT_EQ(Read(HKEY_CURRENT_USER, key + L"\\Child", "Deep"), Sz("keep me too"));

    ASSERT_EQ(WriteRegString(HKEY_CURRENT_USER, key + L"\\new\\deeper", L"V", L"x"), ERROR_SUCCESS);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, key + L"\\new\\deeper", "V"), Sz("x")) << "keys created";
}

TEST_F(WriteRegStringTest, ReportsEveryRefusalAndWritesNothing) {
    // Greek, Chinese, a letter that best-fit would turn into a plain 'a', a lone surrogate.
    for (const wchar_t* text : {L"\u03a9mega", L"\u4e2d", L"B\u0101r", L"x\xd800y"}) {
        EXPECT_EQ(WriteRegString(HKEY_CURRENT_USER, key, L"V", text), ERROR_NO_UNICODE_TRANSLATION);
        EXPECT_FALSE(Read(HKEY_CURRENT_USER, key, "V")) << "nothing may be written";
    }
    EXPECT_EQ(WriteRegString(reinterpret_cast<HKEY>(0x1234), L"Nowhere", L"V", L"x"),
              ERROR_INVALID_HANDLE) << "a key that does not open is reported";
    // A key that opens but takes no values, as HKLM for a user who is no administrator.
    PSECURITY_DESCRIPTOR noValues = nullptr;  // everyone may do all but set a value
    HKEY made = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
                    L"D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &noValues, nullptr) &&
                !RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &made, nullptr) &&
                !RegSetKeySecurity(made, DACL_SECURITY_INFORMATION, noValues));
    RegCloseKey(made), LocalFree(noValues);
    EXPECT_EQ(WriteRegString(HKEY_CURRENT_USER, key, L"V", L"x"), ERROR_ACCESS_DENIED);
}

TEST(WriteRegStringUtf8CodePageTest, StoresEachCharacterInItsUtf8Bytes) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    const std::wstring key = std::wstring(kScratch) + L"Utf8";  // its own: the suites run at once
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    EXPECT_EQ(WriteRegString(HKEY_CURRENT_USER, key, L"V", L"\U0001F600\u00c5x"), ERROR_SUCCESS);
    EXPECT_EQ(Read(HKEY_CURRENT_USER, key, "V"), Sz("\xF0\x9F\x98\x80\xC3\x85x"));
}

}  // namespace
