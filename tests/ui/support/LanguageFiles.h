#pragma once

#include <string>

namespace ui_testing {

// The bytes of a language file of lineCount lines, CR LF, whose caption and message lines name their
// own number behind a prefix ("L7", "G7"); the keyword and type-name lines are those of the test texts.
std::string languageFileBytes(const std::string& prefix, int lineCount = 165);

} // namespace ui_testing
