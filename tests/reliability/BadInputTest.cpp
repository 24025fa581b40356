// Snapshots, language files and part-program names that are wrong, broken or hostile: a clear
// message, nothing written outside the output directory, no crash.
#include "CliFixture.h"

#include <random>

using namespace reliability;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const std::filesystem::path kPump = kExamples / "pump-housing.json";

std::string repeated(const std::string& text, std::size_t times)
{
    std::string result;
    result.reserve(text.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        result += text;
    return result;
}

std::string randomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// A snapshot of one part program with the given commands (JSON texts), named PUMP.
std::string snapshotWith(const std::string& commands, const std::string& partProgramMembers = "")
{
    return R"({"activePartProgram": {"partName": "PUMP", "fileName": "PUMP.PRG", )" + partProgramMembers +
           R"("commands": [)" + commands + "]}}";
}

const std::string kDimension = R"({"commandType": 1106, "isDimension": true, "valueValid": true,
    "dimensionData": {"id": "D", "nominal": 25, "plusTolerance": 0.1, "minusTolerance": 0.1, "measured": 25.01}})";

class BadInput : public CliFixture {
protected:
    // Runs a snapshot that must be refused: exit status 1, one line naming the file and the reason.
    void expectRefusedSnapshot(const std::string& bytes, const std::string& reason)
    {
        writeBytes(in / "bad.json", bytes);
        const auto result = convert(in / "bad.json");
        EXPECT_EQ(result.exitCode, 1) << result.err.substr(0, 500);
        EXPECT_TRUE(isOneLine(result.err)) << result.err.substr(0, 500);
        EXPECT_TRUE(result.err.starts_with("Error: Cannot read the snapshot \"" + (in / "bad.json").string() + "\": "))
            << result.err.substr(0, 500);
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err.substr(0, 500);
        EXPECT_TRUE(std::filesystem::is_empty(out));
        expectNothingOutsideTheOutputDirectory();
    }
};

} // namespace

TEST_F(BadInput, MalformedSnapshots)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "unexpected end of input"},
        {"hello", "syntax error"},
        {"{\"activePartProgram\": {\"commands\": [}", "line 1, column 37"},
        {"{\"activePartProgram\": null,}", "syntax error"},
        {"{\"a\":\"\xFF\"}", "ill-formed UTF-8"},
        {std::string("{\"activePartProgram\": \0}", 25), "syntax error"},
        {"{} {}", "syntax error"},
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(bytes);
        expectRefusedSnapshot(bytes, reason);
    }
}

TEST_F(BadInput, TruncatedSnapshots)
{
    const std::string whole = readBytes(kPump);
    int cases = 0;
    for (std::size_t length = 0; length + 2 < whole.size(); length += 61) {
        SCOPED_TRACE("first " + std::to_string(length) + " bytes");
        expectRefusedSnapshot(whole.substr(0, length), length == 0 ? "unexpected end of input" : "line ");
        ++cases;
    }
    EXPECT_GT(cases, 20);
}

TEST_F(BadInput, WronglyTypedSnapshots)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"[]", "at the document: expected an object"},
        {R"({"activePartProgram": []})", "at activePartProgram: expected an object"},
        {R"({"activePartProgram": {"commands": {}}})", "at activePartProgram.commands: expected a list of commands"},
        {snapshotWith(R"({"commandType": "1106"})"), "at activePartProgram.commands[0].commandType: expected a whole number"},
        {snapshotWith(R"({"commandType": 1106.5})"), "commandType: expected a whole number"},
        {snapshotWith(R"({"commandType": 4294967296})"), "commandType: the number is out of range"},
        {snapshotWith(R"({"commandType": -99999999999999999999})"), "commandType: expected a whole number"},
        {snapshotWith(R"({"isDimension": 1})"), "isDimension: expected true or false"},
        {snapshotWith(R"({"dimensionData": {"nominal": "25"}})"), "dimensionData.nominal: expected a number"},
        {snapshotWith(R"({"dimensionData": []})"), "dimensionData: expected an object"},
        {snapshotWith(R"({"comment": {"text": 5}})"), "comment.text: expected a text"},
        {snapshotWith(R"({"namedValue": {"name": null}})"), "namedValue.name: expected a text"},
        {snapshotWith(R"({"failingReads": ["Nominal"]})"), "\"Nominal\" is not a member of this object"},
        {snapshotWith(R"({"colour": "red"})"), "colour: unknown member"},
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(bytes);
        expectRefusedSnapshot(bytes, reason);
    }
}

TEST_F(BadInput, DeeplyNestedSnapshots)
{
    constexpr std::size_t kDepth = 200000;
    expectRefusedSnapshot(repeated("[", kDepth) + repeated("]", kDepth), "at the document: expected an object");
    expectRefusedSnapshot(snapshotWith(repeated("[", kDepth) + repeated("]", kDepth)), "commands[0]: expected an object");
    expectRefusedSnapshot(repeated("{\"a\":", kDepth) + "1" + repeated("}", kDepth), "unknown member");
    expectRefusedSnapshot(repeated("[", kDepth), "syntax error");
}

TEST_F(BadInput, NumbersBeyondADouble)
{
    // JSON has no infinity; a number too large for a double must not turn into one.
    expectRefusedSnapshot(snapshotWith(R"({"commandType": 1106, "isDimension": true, "dimensionData": {"measured": 1e400}})"),
                          "number overflow parsing '1e400'");
    expectRefusedSnapshot(snapshotWith(R"({"dimensionData": {"nominal": -1e309}})"), "number overflow");
}

TEST_F(BadInput, HugeSnapshots)
{
    // A part program far larger than any real one converts in full.
    constexpr int kCommands = 20000;
    std::string commands;
    for (int i = 0; i < kCommands; ++i)
        commands += (i == 0 ? "" : ",") + kDimension;
    writeBytes(in / "large.json", snapshotWith(commands));
    const auto large = convert(in / "large.json");
    EXPECT_EQ(large.exitCode, 0) << large.err;
    EXPECT_TRUE(readBytes(out / "PUMP.dfd").starts_with("K0100 20000\r\n"));
    const std::string values = readBytes(out / "PUMP.dfx");
    EXPECT_EQ(std::count(values.begin(), values.end(), '\x0F'), kCommands);
    EXPECT_EQ(std::count(values.begin(), values.end(), '\n'), 1);

    // A comment of 4 MB is cut to 255 characters after one message.
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    writeBytes(in / "long-comment.json",
               snapshotWith(R"({"comment": {"commentKind": 1, "text": ")" + repeated("abcd", 1 << 20) + R"("}},)" + kDimension));
    const auto comment = convert(in / "long-comment.json", {"--set", "KOMMENTARE=1"});
    EXPECT_EQ(comment.exitCode, 0) << comment.err.substr(0, 300);
    EXPECT_TRUE(isOneLine(comment.err)) << comment.err.substr(0, 300);
    EXPECT_NE(readBytes(out / "PUMP.dfd").find("K2900/1 " + repeated("abcd", 63) + "abc\r\n"), std::string::npos);

    // 8 MB of noise is refused like any other broken snapshot.
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    expectRefusedSnapshot(randomBytes(8 << 20, 7), "");
    expectNothingOutsideTheOutputDirectory();
}

TEST_F(BadInput, UnusableLanguageFiles)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "it has 0 lines, 165 are needed"},
        {repeated("text\r\n", 164), "it has 164 lines, 165 are needed"},
        {repeated("text", 100000), "it has 1 line, 165 are needed"},
    };
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        writeBytes(in / "texts.dll", bytes);
        const auto result = convert(kPump, {"--texts", (in / "texts.dll").string()});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "norda-cli: Cannot use the language file \"" + (in / "texts.dll").string() + "\": " + reason + "\n");
        EXPECT_TRUE(std::filesystem::is_empty(out));
    }
    const auto directory = convert(kPump, {"--texts", in.string()});
    EXPECT_EQ(directory.exitCode, 2);
    EXPECT_NE(directory.err.find("Is a directory"), std::string::npos) << directory.err;
    EXPECT_TRUE(std::filesystem::is_empty(out));
    expectNothingOutsideTheOutputDirectory();
}

TEST_F(BadInput, LanguageFilesOfBinaryDataOrAnotherCodePage)
{
    const std::string english = readBytes(std::filesystem::path(NORDA_PROGRAM_DIR) / "English.dll");
    std::string utf16 = "\xFF\xFE";
    for (char c : english)
        utf16 += std::string{c, '\0'};
    const std::vector<std::pair<std::string, std::string>> cases{
        {"binary", randomBytes(1 << 16, 11)},
        {"binary without line ends", randomBytes(1 << 16, 12) + repeated("\n", 165)},
        {"UTF-16", utf16},
        {"Czech in windows-1252", readBytes(std::filesystem::path(NORDA_PROGRAM_DIR) / "Czech.dll")},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        writeBytes(in / "texts.dll", bytes);
        const auto result = convert(kPump, {"--texts", (in / "texts.dll").string()});
        // Texts that make no sense still give a run: its messages are garbled, never its files.
        EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.exitCode << result.err;
        for (const auto& [file, content] : contentsOf(out))
            EXPECT_TRUE(file == "PUMP HOUSING A1.dfd" || file == "PUMP HOUSING A1.dfx") << file;
        if (result.exitCode == 0) {
            EXPECT_EQ(readBytes(out / "PUMP HOUSING A1.dfx"),
                      readBytes(testing_support::testDataDir() / "golden" / "example-values-point.dfx"));
        }
        expectNothingOutsideTheOutputDirectory();
    }
}

TEST_F(BadInput, HostileNamesStayInsideTheOutputDirectory)
{
    struct Case {
        std::string member;  // of the part program
        std::string value;
        std::vector<std::string> settings;
        std::string stem;    // of the files written, "" when the run must fail
    };
    const std::string longName(300, 'N');
    const std::vector<Case> cases{
        {"partName", "..", {}, ".."},
        {"partName", "../../etc/passwd", {}, ".._.._etc_passwd"},
        {"partName", "/tmp/x", {}, "_tmp_x"},
        {"partName", "C:\\\\Windows\\\\win", {}, "C__Windows_win"},
        {"partName", "a\\tb\\nc", {}, "a_b_c"},
        {"partName", "CON", {}, "CON_"},
        {"partName", "nul", {}, "nul_"},
        {"partName", "Com1.txt", {}, "Com1_.txt"},
        {"partName", "LPT9", {}, "LPT9_"},
        {"partName", "CONSOLE", {}, "CONSOLE"},
        {"partName", "", {}, ""},
        {"serialNumber", "../4711", {"--set", "SERIENNUMMER=1"}, ".._4711"},
        {"serialNumber", "AUX", {"--set", "SERIENNUMMER=1"}, "AUX_"},
        {"revisionNumber", "../../B", {"--set", "VersionInFileName=1"}, "PUMP_.._.._B"},
        {"partName", longName, {"--set", "NAMENSLAENGE=1"}, std::string(8, 'N')},
        {"partName", repeated("\xC3\x84", 300), {"--set", "NAMENSLAENGE=1"}, repeated("\xC3\x84", 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.member + "=" + c.value.substr(0, 40));
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        const std::string partName = c.member == "partName" ? "" : R"("partName": "PUMP", )";
        writeBytes(in / "hostile.json", R"({"activePartProgram": {)" + partName + "\"" + c.member + "\": \"" + c.value +
                                            R"(", "fileName": "X.PRG", "commands": [)" + kDimension + "]}}");
        const auto result = convert(in / "hostile.json", c.settings);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const DirectoryBytes written = contentsOf(out);
        EXPECT_EQ(written.size(), 2u);
        EXPECT_TRUE(written.contains(c.stem + ".dfd")) << result.out;
        EXPECT_TRUE(written.contains(c.stem + ".dfx")) << result.out;
        expectNothingOutsideTheOutputDirectory();
    }
}

TEST_F(BadInput, NamesTooLongForTheFileSystem)
{
    for (const std::string& name : {std::string(300, 'N'), repeated("\xC3\x84", 200)}) {
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        writeBytes(in / "long.json", snapshotWith(kDimension, R"("serialNumber": ")" + name + "\", "));
        const auto result = convert(in / "long.json", {"--set", "SERIENNUMMER=1"});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(isOneLine(result.err)) << result.err;
        EXPECT_NE(result.err.find("File name too long"), std::string::npos) << result.err;
        EXPECT_TRUE(std::filesystem::is_empty(out));
        expectNothingOutsideTheOutputDirectory();
    }
}
