#include "tests/support.h"

namespace qmtest {

std::optional<Raw> Read(HKEY root, const std::wstring& path, const char* name, REGSAM view) {
    HKEY key = nullptr;
    DWORD type = 0, size = 4096;  // more than any value the tests store
    BYTE data[4096];
    LONG status = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key);
    if (status == ERROR_SUCCESS) {
        status = RegQueryValueExA(key, name, nullptr, &type, data, &size);
        RegCloseKey(key);
    }
    EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        << "cannot read " << testing::PrintToString(path) << " " << name << ": error " << status;
    if (status != ERROR_SUCCESS) return std::nullopt;  // not there
    return Raw{type, std::string(reinterpret_cast<const char*>(data), size)};
}

void Store(HKEY root, const std::wstring& path, const char* name, const std::string& text,
           REGSAM view) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr,
                                  &key, nullptr);
    ASSERT_EQ(status, ERROR_SUCCESS) << "set-up: cannot open " << testing::PrintToString(path);
    status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS) << "set-up: cannot store " << name;
}

}  // namespace qmtest

namespace {

// A suite that tests/CMakeLists.txt does not name is built but never run: every run fails on it.
class EverySuiteRuns : public testing::Environment {
    void SetUp() override {
        const testing::UnitTest& tests = *testing::UnitTest::GetInstance();
        for (int i = 0; i < tests.total_test_suite_count(); ++i)
            if (const std::string name = tests.GetTestSuite(i)->name();
                std::string(QM_SUITES).find("," + name + ",") == std::string::npos)
                ADD_FAILURE() << "suite " << name << " is not run: register it in tests/CMakeLists.txt";
    }
};
testing::Environment* const every_suite_runs = testing::AddGlobalTestEnvironment(new EverySuiteRuns);

}  // namespace
