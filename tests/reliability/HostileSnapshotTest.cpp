// Snapshots that could crash a reader, not merely fail it: nesting deep enough to exhaust the stack,
// numbers beyond a double, bytes after the document, a document cut anywhere. Each is refused.
#include "source/Snapshot.h"

#include "support/Files.h"

#include <gtest/gtest.h>

namespace {

std::string repeated(const std::string& text, std::size_t times)
{
    std::string result;
    for (std::size_t i = 0; i < times; ++i)
        result += text;
    return result;
}

void expectRefused(const std::string& bytes, const std::string& reason)
{
    try {
        source::parseSnapshot(bytes, "hostile.json");
        ADD_FAILURE() << "accepted";
    } catch (const source::SnapshotError& error) {
        EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
    }
}

} // namespace

TEST(HostileSnapshots, AreRefusedWithTheReason)
{
    constexpr std::size_t kDepth = 200000;
    const std::string commands = R"({"activePartProgram": {"commands": [)";
    const std::vector<std::pair<std::string, std::string>> rows{
        {repeated("[", kDepth) + repeated("]", kDepth), "at the document: expected an object"},
        {commands + repeated("[", kDepth) + repeated("]", kDepth) + "]}}", "commands[0]: expected an object"},
        {repeated("{\"a\":", kDepth) + "1" + repeated("}", kDepth), "unknown member"},
        {repeated("[", kDepth), "syntax error"},
        {commands + R"({"dimensionData": {"measured": 1e400}}]}})", "number overflow parsing '1e400'"},
        {commands + R"({"dimensionData": {"nominal": -1e309}}]}})", "number overflow"},
        {commands + R"({"commandType": -99999999999999999999}]}})", "commandType: expected a whole number"},
        {std::string("{\"activePartProgram\": \0}", 25), "syntax error"},
        {"{} {}", "syntax error"},
    };
    for (const auto& [bytes, reason] : rows) {
        SCOPED_TRACE(bytes.substr(0, 60));
        expectRefused(bytes, reason);
    }
}

TEST(HostileSnapshots, CutAnywhereAreRefused)
{
    const std::string whole = testing_support::readBytes(std::filesystem::path(NORDA_SOURCE_DIR) / "examples" / "pump-housing.json");
    for (std::size_t length = 0; length + 2 < whole.size(); length += 61) {
        SCOPED_TRACE("first " + std::to_string(length) + " bytes");
        expectRefused(whole.substr(0, length), length == 0 ? "unexpected end of input" : "line ");
    }
}
