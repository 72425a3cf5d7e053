// The printer that tools/run.sh uses, run on real stored values.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support.h"
#include "tools/uidriver/ui_driver.h"

namespace {

using namespace qmtest;

TEST(ShowValuesTest, PrintsEachValueExactlyAsStored) {
    ASSERT_EQ(GetACP(), 1252u);
    const std::pair<std::string, std::string> cases[] = {
        // stored in code page 1252, as the program hands it to the registry; shown in UTF-8
        {"   ", "\"   \""}, {"", "\"\""}, {"tab\there\x1f", "\"tab\\there\\x1f\""},
        {"  \xC5ngstr\xF6m & Co  ", "\"  \xC3\x85ngstr\xC3\xB6m & Co  \""},
        {"say \"hi\" C:\\x", "\"say \\\"hi\\\" C:\\\\x\""},
    };
    const std::wstring out = L"show-values.txt";
    ASSERT_NO_FATAL_FAILURE(Store(HKEY_LOCAL_MACHINE, kCurrentVersion, kValueNames[1], std::nullopt));
    for (const auto& [stored, shown] : cases) {
        ASSERT_NO_FATAL_FAILURE(Store(HKEY_LOCAL_MACHINE, kCurrentVersion, kValueNames[0], stored));
        Process(QM_SHOW_VALUES, L"", -1, out).AwaitExit("show the values");
        std::ifstream in{std::filesystem::path(out)};
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
                  "RegisteredOrganization = " + shown + "\nRegisteredOwner is not set\n");
    }
}

}  // namespace
