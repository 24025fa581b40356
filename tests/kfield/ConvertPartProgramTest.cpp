#include "kfield/ConvertPartProgram.h"

#include "support/ModelBuilder.h"
#include "support/ValuesFixture.h"

#include <algorithm>

using namespace testing_support;
using kfield::MessageIcon;
using kfield::ValuesOutcome;

namespace {

std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

bool hasLine(const std::string& bytes, const std::string& line)
{
    const auto lines = linesOf(bytes);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class FullWrite : public ConversionFixture {
protected:
    std::optional<ValuesOutcome> convert(source::MemoryApplication& application) { return run(application, kfield::ConvertPartProgram); }

    std::optional<ValuesOutcome> convertWith(std::vector<source::CommandRecord> commands)
    {
        std::filesystem::remove(dir / "PUMP.dfd");
        std::filesystem::remove(dir / "PUMP.dfx");
        messages.messages.clear();
        source::MemoryApplication application(applicationWith(std::move(commands)));
        return convert(application);
    }

    std::string description() { return file("PUMP.dfd"); }
};

} // namespace

TEST_F(FullWrite, WritesTheExampleFiles)
{
    settings.Kommentare = true;
    for (const char* decimal : {".", ","}) {
        regional = FixedRegionalSettings(decimal);
        convertWith(exampleApplication().activePartProgram->commands);
        const std::string separator = decimal == std::string(".") ? "point" : "comma";
        EXPECT_EQ(description(), golden("example-" + separator + ".dfd"));
        EXPECT_EQ(file("PUMP.dfx"), golden("example-values-" + separator + ".dfx"));
    }
    std::filesystem::remove_all(dir.path());
    std::filesystem::create_directories(dir.path());
    settings.DFQ = true;
    regional = FixedRegionalSettings(".");
    convertWith(exampleApplication().activePartProgram->commands);
    EXPECT_EQ(file("PUMP.dfq"), golden("example-point.dfq"));
    EXPECT_EQ(dir.listing(), "PUMP.dfq");
}

TEST_F(FullWrite, ReadsNoCommentWhenTheSettingIsOff)
{
    source::MemoryApplication application(exampleApplication());
    convert(application);
    EXPECT_EQ(description().find("K2900"), std::string::npos);
    EXPECT_EQ(application.log().count(source::Member::CommandHasComment), 0u);
}

TEST_F(FullWrite, ChecksReplacesOrCutsANamedValue)
{
    const struct {
        std::string name;
        std::string value;
        std::vector<std::string> messages;
        std::string line; // the line the value ends up in
        std::string decimal = ".";
    } cases[] = {
        {"K2060", "123456", {"L34"}, "K2060/1 0"},
        {"K2060", "12a", {"L34"}, "K2060/1 0"},
        {"k2060 ", " -5 ", {}, "K2060/1 -5"},
        {"K2005", "7", {"L58 K2005 L62"}, "K2005/1 1"},
        {"K2005", "-1", {"L58 K2005 L61"}, "K2005/1 -"},
        {"K2005", "3", {}, "K2005/1 3"},
        {"K2022", "12", {"L58 K2022 L59 L63 4 L64"}, "K2022/1 4"},
        {"K2022", "x", {"L58 K2022 L60 L63 4 L64"}, "K2022/1 4"},
        {"K1101", std::string(45, 'd'), {"L58 K1101 L61"}, "K1101 " + std::string(40, 'd')},
        {"K1303", std::string(21, 'p'), {"L58 K1303 L61"}, "K1303 " + std::string(20, 'p')},
        {"K1007", std::string(24, 't'), {"L58 K1007 L61"}, "K1007 " + std::string(20, 't')},
        {"K1007", "Type 7", {}, "K1007 Type 7"},
        {"K1011", std::string(25, 'v'), {"L58 K1011 L61"}, "K1011 " + std::string(20, 'v')},
        {"K2404", "1.5", {}, "K2404/0 1.5"},
        // The regional grouping separator counts for nothing, and the text stays as given.
        {"K2404", "1.5", {}, "K2404/0 1.5", ","},
        {"K2404", "2.500,25", {}, "K2404/0 2.500,25", ","},
        {"K2005", "1.5", {"L58 K2005 L62"}, "K2005/1 1", ","},
        {"K2060", "1,5", {}, "K2060/1 1,5"},
        {"K2404", "1.00000000000000000000001", {"L58 K2404 L61"}, "K2404/0 1." + std::string(20, '0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + "=\"" + c.value + "\"");
        regional = FixedRegionalSettings(c.decimal);
        EXPECT_EQ(convertWith({namedValueCommand(c.name, c.value), singleDimension(1101, "A", {}, 0)}), ValuesOutcome::Written);
        EXPECT_EQ(messageTexts(), c.messages);
        for (const auto& message : messages.messages)
            EXPECT_EQ(message.icon, MessageIcon::Information);
        EXPECT_TRUE(hasLine(description(), c.line)) << description();
    }
}

TEST_F(FullWrite, CarriesNothingIntoTheNextFullWrite)
{
    settings.Kommentare = true;
    convertWith({namedValueCommand("K1101", "d"), commentCommand("dangling")});
    convertWith({singleDimension(1101, "A", {}, 0)});
    EXPECT_EQ(description().find("K1101"), std::string::npos);
    EXPECT_EQ(description().find("dangling"), std::string::npos);
}

TEST_F(FullWrite, NeverMatchesAKeywordLineWithLowerCase)
{
    texts.setLine(160, "k1101");
    convertWith({namedValueCommand("k1101", "x"), namedValueCommand("K1101", "y")});
    EXPECT_EQ(description().find("K1101"), std::string::npos);
}

TEST_F(FullWrite, AbortsOnAK2005ThatIsNoWholeNumberAndChangesNoFile)
{
    writeBytes(dir / "PUMP.dfx", "earlier\r\n");
    source::MemoryApplication application(applicationWith({singleDimension(1101, "A", {}, 0), namedValueCommand("K2005", "x"),
                                                           singleDimension(1101, "B", {}, 0)}));
    EXPECT_EQ(convert(application), std::nullopt);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"L58 K2005 L60"});
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(dir.listing(), "PUMP.dfx");
    EXPECT_EQ(file("PUMP.dfx"), "earlier\r\n");
    EXPECT_TRUE(application.record().updatesEnabled);
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"L11"});
}
