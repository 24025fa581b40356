#include "TestTexts.h"

#include "config/mdl_Sprache_Laden.h"
#include "platform/CodePage.h"
#include "support/Files.h"

namespace testing_support {

config::LanguageTexts numberedTexts()
{
    return config::loadLanguageFile(testDataDir() / "reliability" / "numbered-texts.dll", *config::codePageByNumber(1252));
}

} // namespace testing_support
