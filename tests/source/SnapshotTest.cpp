#include "source/Member.h"
#include "source/Snapshot.h"

#include "support/ErrorText.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace testing_support;

namespace {

std::string errorOf(const std::string& document)
{
    return errorText<source::SnapshotError>([&] { source::parseSnapshot(document, "test.json"); });
}

std::string errorOfFile(const std::filesystem::path& file)
{
    return errorText<source::SnapshotError>([&] { source::readSnapshotFile(file); });
}

std::string repeated(const std::string& text, std::size_t times)
{
    std::string result;
    for (std::size_t i = 0; i < times; ++i)
        result += text;
    return result;
}

} // namespace

// Each snapshot under tests/data/source/snapshots, read and written again, gives the bytes of the
// ".written.json" beside it (every member, defaults written out, the last of repeated members), or
// its own bytes where there is none.
TEST(Snapshot, ReadsAndWritesTheStoredSnapshots)
{
    for (const auto& entry : std::filesystem::directory_iterator(testDataDir() / "source" / "snapshots")) {
        const std::filesystem::path& file = entry.path();
        if (file.string().ends_with(".written.json"))
            continue;
        const std::filesystem::path written = std::filesystem::path(file).replace_extension(".written.json");
        EXPECT_EQ(source::writeSnapshot(source::readSnapshotFile(file)), readBytes(exists(written) ? written : file)) << file.filename();
    }
}

TEST(Snapshot, RejectsMalformedDocumentsNamingTheFault)
{
    for (const TableRow& row : tableRows("source/refusals.txt"))
        EXPECT_EQ(errorOf(row[0]), "Cannot read the snapshot \"test.json\": " + row[1]);
    EXPECT_NE(errorOf("{\n\"activePartProgram\": {\n\"commands\": [\n").find("at line 4"), std::string::npos);
    EXPECT_NE(errorOf(std::string("{\"activePartProgram\": \0}", 25)).find("syntax error"), std::string::npos);
}

// Documents that could crash a reader rather than merely fail it (nesting deep enough to exhaust the
// stack, a document cut anywhere) and documents broken far into the stream: the file is read as it
// streams in, and its refusal names the same fault at the same position as for the same text.
TEST(Snapshot, RefusesHostileDocumentsAsTextAndAsFile)
{
    constexpr std::size_t kDepth = 200000;
    const std::string commands = R"({"activePartProgram": {"commands": [)";
    const std::string manyCommands = repeated(R"({"commandType": 1, "id": "C"}, )", 5000);
    const std::pair<std::string, std::string> rows[] = {
        {repeated("[", kDepth) + repeated("]", kDepth), "at the document: expected an object"},
        {commands + repeated("[", kDepth) + repeated("]", kDepth) + "]}}", "commands[0]: expected an object"},
        {repeated("{\"a\":", kDepth) + "1" + repeated("}", kDepth), "unknown member"},
        {repeated("[", kDepth), "syntax error"},
        {"", "parse error at line 1, column 1"},
        {"{", "line 1, column 2"},
        {R"({"updatesEnabled": true} x)", "line 1, column 26"},
        {commands + manyCommands + "}", "line 1, column 155037"},
        {commands + manyCommands + R"({"commandType": "one"}]}})", "commands[5000].commandType: expected a whole number"},
        {R"({"activePartProgram": {"partName": ")" + std::string(100000, 'P') + "\xC3\"}}", "ill-formed UTF-8"},
    };
    TemporaryDirectory dir;
    for (const auto& [document, reason] : rows) {
        writeBytes(dir / "test.json", document);
        std::string fromText = errorOf(document);
        EXPECT_NE(fromText.find(reason), std::string::npos) << fromText;
        EXPECT_EQ(errorOfFile(dir / "test.json"), fromText.replace(fromText.find("test.json"), 9, (dir / "test.json").string()))
            << document.substr(0, 40);
    }
    const std::string whole = readBytes(std::filesystem::path(NORDA_SOURCE_DIR) / "examples" / "pump-housing.json");
    for (std::size_t length = 0; length + 2 < whole.size(); length += 61)
        EXPECT_NE(errorOf(whole.substr(0, length)).find(length == 0 ? "unexpected end of input" : "line "), std::string::npos) << length;
    EXPECT_EQ(errorOfFile("/nonexistent/snapshot.json"), "Cannot read the snapshot \"/nonexistent/snapshot.json\": No such file or directory");
}

TEST(Members, AreNamedAlikeInMessagesAndSnapshots)
{
    constexpr std::string_view kObjects[] = {"Application", "PartProgram", "Command", "DimensionData", "Comment", "NamedValue"};
    for (int i = 0; i < source::kMemberCount; ++i) {
        const auto member = static_cast<source::Member>(i);
        const std::string_view shown = source::memberName(member);
        const std::string_view stored = source::snapshotName(member);
        EXPECT_EQ(source::memberFromSnapshotName(source::objectOf(member), stored), member) << shown;
        // The object's name comes first; the command collection's members hang on the part program.
        const std::string_view object = kObjects[static_cast<int>(source::objectOf(member))];
        EXPECT_TRUE(shown.starts_with(std::string(object) + ".") || shown.starts_with(std::string(object) + " (") ||
                    (object == "PartProgram" && shown.starts_with("Commands")))
            << shown;
        if (shown.find(" (") != std::string_view::npos)
            continue; // the default member, the write of UpdatesEnabled, the enumeration
        std::string last(stored.substr(stored.rfind('.') + 1));
        last[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(last[0])));
        EXPECT_TRUE(shown.ends_with("." + last)) << shown << " / " << stored;
    }
}
