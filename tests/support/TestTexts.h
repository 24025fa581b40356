#pragma once

#include "config/LanguageTexts.h"

namespace testing_support {

// Language texts whose lines name their own number ("L35"), so a test sees exactly which lines a
// message joins; the keyword lines hold the shipped keywords (K2060, FIELD4, ... K1011) and the type
// name lines "T<number>". Read from tests/data/reliability/numbered-texts.dll.
config::LanguageTexts numberedTexts();

} // namespace testing_support
