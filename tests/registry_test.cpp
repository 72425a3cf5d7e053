// The registry writer against Wine's real registry in the test prefix.
#include <gtest/gtest.h>

#include "registry/modRegister.h"
#include "tests/test_registry.h"

using modRegister::WriteRegString;
using qmtest::ReadRaw;

namespace {

constexpr wchar_t kScratch[] = L"Software\\QuillmarkTest";

class WriteRegStringTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 1252u) << "byte checks assume the Western code page";
        qmtest::DeleteTree(HKEY_CURRENT_USER, kScratch);
    }
    void TearDown() override { qmtest::DeleteTree(HKEY_CURRENT_USER, kScratch); }
    std::wstring Path(const wchar_t* tail) { return std::wstring(kScratch) + L"\\" + tail; }
};

TEST_F(WriteRegStringTest, CreatesMissingKeysAndStoresTextWithOneNul) {
    const auto path = Path(L"a\\b\\c");
    ASSERT_EQ(WriteRegString(HKEY_CURRENT_USER, path, L"Name", L"Acme"), ERROR_SUCCESS);
    const auto value = ReadRaw(HKEY_CURRENT_USER, path, "Name");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, DWORD{REG_SZ});
    EXPECT_EQ(value->bytes, std::string("Acme\0", 5));
}

TEST_F(WriteRegStringTest, ReplacesTypeAndDataAndLeavesTheRestOfTheKeyAlone) {
    const auto path = Path(L"k");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, path.c_str(), &key), ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExW(key, L"Name", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    RegCloseKey(key);
    qmtest::WriteText(HKEY_CURRENT_USER, path, "Other", "keep me");
    qmtest::WriteText(HKEY_CURRENT_USER, path + L"\\Child", "Deep", "keep me too");

    ASSERT_EQ(WriteRegString(HKEY_CURRENT_USER, path, L"Name", L"first"), ERROR_SUCCESS);
    ASSERT_EQ(WriteRegString(HKEY_CURRENT_USER, path, L"Name", L"2nd"), ERROR_SUCCESS);

    const auto value = ReadRaw(HKEY_CURRENT_USER, path, "Name");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, DWORD{REG_SZ});
    EXPECT_EQ(value->bytes, std::string("2nd\0", 4)) << "a shorter text must not keep old bytes";
    EXPECT_EQ(qmtest::ReadText(HKEY_CURRENT_USER, path, "Other"), "keep me");
    EXPECT_EQ(qmtest::ReadText(HKEY_CURRENT_USER, path + L"\\Child", "Deep"), "keep me too");
}

TEST_F(WriteRegStringTest, StoresEachCharacterAsOneCodePageByte) {
    const struct {
        const wchar_t* text;
        std::string bytes;
    } cases[] = {
        {L"", std::string("\0", 1)},
        {L"   ", std::string("   \0", 4)},
        {L" Caf\u00e9 \u20ac ", std::string(" Caf\xe9 \x80 \0", 9)},  // e-acute, euro sign
    };
    const auto path = Path(L"bytes");
    for (const auto& c : cases) {
        ASSERT_EQ(WriteRegString(HKEY_CURRENT_USER, path, L"V", c.text), ERROR_SUCCESS);
        const auto value = ReadRaw(HKEY_CURRENT_USER, path, "V");
        ASSERT_TRUE(value);
        EXPECT_EQ(value->bytes, c.bytes);
    }
}

TEST_F(WriteRegStringTest, RefusesTextTheCodePageCannotHoldAndWritesNothing) {
    const auto path = Path(L"refused");
    // Greek, Chinese, a letter that best-fit would turn into a plain 'a', a lone surrogate.
    for (const wchar_t* text : {L"\u03a9mega", L"\u4e2d", L"B\u0101r", L"x\xd800y"}) {
        EXPECT_EQ(WriteRegString(HKEY_CURRENT_USER, path, L"V", text),
                  ERROR_NO_UNICODE_TRANSLATION);
        EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, path, "V")) << "nothing may be written";
    }
    EXPECT_EQ(WriteRegString(HKEY_CURRENT_USER, path, L"\u4e2d", L"ok"),
              ERROR_NO_UNICODE_TRANSLATION)
        << "value names are held to the same rule";

    qmtest::WriteText(HKEY_CURRENT_USER, path, "V", "old");
    WriteRegString(HKEY_CURRENT_USER, path, L"V", L"\u4e2d");
    EXPECT_EQ(qmtest::ReadText(HKEY_CURRENT_USER, path, "V"), "old") << "the old value stays";
}

TEST_F(WriteRegStringTest, ReportsAFailingOpen) {
    const LONG status = WriteRegString(reinterpret_cast<HKEY>(0x1234), L"Nowhere", L"V", L"x");
    EXPECT_NE(status, ERROR_SUCCESS);
    EXPECT_EQ(status, ERROR_INVALID_HANDLE);
}

}  // namespace
