// The programs as processes, one case per JSON file in the folders of CASE_DIRS (separated by "|"):
// the settings file and the files in the output directory before ("folder/file" makes the folder),
// the runs with their exit status and what they print, and the output directory afterwards (a
// folder shows as "<dir>"), byte by byte or, where the clock writes into it, by its number of
// lines. "stdout" is all of standard output, "stderr" the start of standard error, "printsAlso"
// texts found in either; "timeout" ends a program still running after that many seconds (exit
// status 124); a run's "immutable" names files or folders of the output directory ("" is the
// directory itself) that nobody may change during that run, and skips the case where the file
// system or the user cannot set the attribute. In every text, {out}, {data} and {examples} stand
// for those directories; an expected file is made of pieces, each a text or "@" and a file under
// tests/data.
#include "support/CliFixture.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <list>
#include <sstream>

using namespace testing_support;
using nlohmann::json;

namespace {

std::vector<std::filesystem::path> caseFiles()
{
    std::vector<std::filesystem::path> files;
    std::istringstream folders(CASE_DIRS);
    for (std::string folder; std::getline(folders, folder, '|');)
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().extension() == ".json")
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

ProcessResult changeAttribute(const char* change, const std::filesystem::path& path)
{
    return ChildProcess("/usr/bin/chattr", {change, path.string()}).wait();
}

// Makes a file or folder immutable while in scope: nothing can write, create, rename or delete there,
// not even root, whom permission bits do not stop. Left set, the test's directory could not be removed
// by anyone but an administrator.
class Immutable {
public:
    explicit Immutable(std::filesystem::path path) : m_path(std::move(path)), m_attempt(changeAttribute("+i", m_path)) {}
    ~Immutable() { changeAttribute("-i", m_path); }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

    // How setting the attribute went: tmpfs has none, and setting it takes a right.
    const ProcessResult& attempt() const { return m_attempt; }

private:
    std::filesystem::path m_path;
    ProcessResult m_attempt;
};

class ProcessCase : public CliFixture, public ::testing::WithParamInterface<std::filesystem::path> {
protected:
    std::string expand(std::string text) const
    {
        const std::pair<std::string, std::string> places[] = {
            {"{out}", out.string()}, {"{data}", testDataDir().string()},
            {"{examples}", (std::filesystem::path(NORDA_SOURCE_DIR) / "examples").string()}};
        for (const auto& [name, place] : places)
            for (std::size_t at; (at = text.find(name)) != std::string::npos;)
                text.replace(at, name.size(), place);
        return text;
    }

    std::string bytesOf(const json& pieces) const
    {
        std::string bytes;
        for (const json& piece : pieces.is_array() ? pieces : json::array({pieces})) {
            const std::string text = expand(piece.get<std::string>());
            bytes += text.starts_with('@') ? readBytes(testDataDir() / text.substr(1)) : text;
        }
        return bytes;
    }

    ProcessResult run(const json& test, const json& step)
    {
        std::vector<std::string> arguments;
        for (const json& argument : step.at("arguments"))
            arguments.push_back(expand(argument.get<std::string>()));
        const std::filesystem::path program = std::filesystem::path(NORDA_PROGRAM_DIR) / test.value("program", "norda-cli");
        const int limitMilliseconds = test.contains("timeout") ? static_cast<int>(test["timeout"].get<double>() * 1000) : -1;
        return ChildProcess(program, arguments, environment).wait(limitMilliseconds);
    }
};

} // namespace

TEST_P(ProcessCase, PrintsAndWritesWhatTheCaseSays)
{
    const json test = json::parse(readBytes(GetParam()));
    const json none = json::object();
    const auto part = [&](const char* name) -> const json& { return test.contains(name) ? test[name] : none; };
    for (const auto& [name, value] : part("environment").items())
        environment[name] = expand(value.get<std::string>());
    environment["QT_QPA_PLATFORM"] = "offscreen";
    const std::filesystem::path settingsFile = root / "config" / "VELTRUM_NORDA_KONVERTER.ini";
    const std::string settings = expand(test.value("settings", ""));
    if (!settings.empty())
        writeBytes(settingsFile, settings);
    for (const auto& [name, pieces] : part("before").items()) {
        std::filesystem::create_directories((out / name).parent_path());
        writeBytes(out / name, bytesOf(pieces));
    }

    for (const json& step : test.at("runs")) {
        SCOPED_TRACE(step.dump());
        std::list<Immutable> immutable;
        for (const json& name : step.value("immutable", json::array())) {
            const ProcessResult& attempt = immutable.emplace_back(out / name.get<std::string>()).attempt();
            if (attempt.exitCode != 0)
                GTEST_SKIP() << "the immutable attribute is not available here: " << attempt.err;
        }
        const ProcessResult result = run(test, step);
        EXPECT_EQ(result.exitCode, step.at("exit").get<int>()) << result.err;
        if (step.contains("stdout")) {
            EXPECT_EQ(result.out, expand(step["stdout"]));
        }
        EXPECT_TRUE(result.err.starts_with(expand(step.value("stderr", "")))) << result.err;
        for (const json& text : step.value("printsAlso", json::array()))
            EXPECT_NE((result.out + result.err).find(expand(text)), std::string::npos) << result.out << result.err;
        if (result.exitCode == 0 && !test.contains("program")) { // the windows' program may print Qt's notes
            EXPECT_EQ(result.err, "");
        }
        if (result.exitCode == 1) { // a refusal says why in one line, and nothing else
            EXPECT_THAT(result.err, ::testing::MatchesRegex("[^\n]+\n"));
            EXPECT_EQ(result.out, "");
        }
    }

    const json& expected = part("after");
    const DirectoryBytes written = contentsOf(out);
    EXPECT_EQ(written.size(), expected.size());
    for (const auto& [name, bytes] : written) {
        ASSERT_TRUE(expected.contains(name)) << name;
        if (expected[name].is_number())
            EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), expected[name].get<int>()) << name;
        else
            EXPECT_EQ(firstDifference(bytes, bytesOf(expected[name])), "") << name;
    }
    EXPECT_EQ(root.listing(), "config in out");
    const DirectoryBytes stored = settings.empty() ? DirectoryBytes() : DirectoryBytes{{settingsFile.filename().string(), settings}};
    EXPECT_EQ(contentsOf(root / "config"), stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProcessCase, ::testing::ValuesIn(caseFiles()), [](const auto& info) {
    std::string name = info.param.lexically_relative(testDataDir().lexically_normal()).replace_extension().generic_string();
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});
