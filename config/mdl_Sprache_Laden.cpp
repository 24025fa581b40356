#include "mdl_Sprache_Laden.h"

#include <array>
#include <cerrno>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/CodePage.h"
#include "platform/PathText.h"

namespace config {
namespace {

std::string lineCountText(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " line" : " lines");
}

// Splits raw bytes into lines as they arrive. CR LF and a lone CR end a line: the shipped files use
// CR LF, and a lone CR is an old line end that must keep working. A lone LF belongs to the text, as
// it always has: a message box shows it as a line break, and files in use rely on it.
class LineSplitter {
public:
    explicit LineSplitter(std::size_t wanted) : m_wanted(wanted) {}

    void feed(std::string_view bytes)
    {
        for (const char c : bytes) {
            if (isComplete())
                return;
            const bool afterCr = std::exchange(m_afterCr, false);
            if (c == '\n' && afterCr)
                continue;   // the LF of a CR LF pair: the CR already ended the line
            if (c == '\r') {
                endLine();
                m_afterCr = true;
            } else {
                m_current += c;
            }
        }
    }

    // A last line without a line end is still a line.
    void finish()
    {
        if (!isComplete() && !m_current.empty())
            endLine();
    }

    bool isComplete() const { return m_lines.size() == m_wanted; }
    const std::vector<std::string>& lines() const { return m_lines; }

private:
    void endLine() { m_lines.push_back(std::exchange(m_current, std::string())); }

    std::size_t m_wanted;
    std::vector<std::string> m_lines;
    std::string m_current;
    bool m_afterCr = false;
};

std::vector<std::string> readLines(const std::filesystem::path& file, std::size_t wanted)
{
    // A directory opens on some systems and only fails on the first read; name it plainly instead.
    std::error_code statusError;
    if (std::filesystem::is_directory(file, statusError))
        throw LanguageFileError(file, std::make_error_code(std::errc::is_a_directory).message());

    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int error = errno;
        throw LanguageFileError(file, error != 0 ? std::generic_category().message(error)
                                                 : std::string("the file cannot be opened"));
    }

    LineSplitter splitter(wanted);
    std::array<char, 4096> buffer{};
    try {
        while (!splitter.isComplete() && in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            splitter.feed(std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount())));
        }
    } catch (const std::ios_base::failure& failure) {
        // Some libraries throw from a failed read even without exceptions enabled on the stream.
        throw LanguageFileError(file, failure.code().message());
    }
    if (in.bad())
        throw LanguageFileError(file, "the file cannot be read");
    splitter.finish();
    return splitter.lines();
}

} // namespace

LanguageFileError::LanguageFileError(const std::filesystem::path& file, const std::string& reason)
    : std::runtime_error("Cannot use the language file \"" + pathText(file) + "\": " + reason)
{
}

LanguageTexts loadLanguageFile(const std::filesystem::path& file, const CodePage& codePage)
{
    const std::vector<std::string> lines = readLines(file, kTextLineCount);
    if (lines.size() < static_cast<std::size_t>(kTextLineCount)) {
        throw LanguageFileError(file, "it has " + lineCountText(lines.size()) + ", " +
                                          std::to_string(kTextLineCount) + " are needed");
    }
    LanguageTexts texts;
    for (int number = 1; number <= kTextLineCount; ++number)
        texts.setLine(number, codePage.decode(lines[static_cast<std::size_t>(number - 1)]));
    return texts;
}

void LoadResourceTexts(LanguageTexts& texts, const std::filesystem::path& programDirectory,
                       const CodePage& codePage)
{
    // Load into a fresh table first: a failed load must not leave half the texts replaced.
    texts = loadLanguageFile(programDirectory / kResourceFileName, codePage);
}

} // namespace config
