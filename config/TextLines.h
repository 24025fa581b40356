#pragma once

// The roles of the language file's lines that the conversion uses, by line number.
namespace config::textline {

inline constexpr int kValuesProgress = 10;          // progress caption while the values are written
inline constexpr int kPartProgramProgress = 11;     // progress caption while the part program is walked
inline constexpr int kCommentTooLong = 30;
inline constexpr int kUnknownAxisType = 31;         // + blank + type code + blank + kUnknownTypeEnd
inline constexpr int kUnknownPositionType = 32;
inline constexpr int kUnknownSingleType = 33;
inline constexpr int kK2060Rejected = 34;
inline constexpr int kCodeListNotDigits = 35;       // these value checks + blank + kConversionStops
inline constexpr int kRunIdentTooLong = 36;
inline constexpr int kRunIdentWithoutHash = 37;
inline constexpr int kRunNumber6NotWhole = 38;
inline constexpr int kRunNumber6TooLong = 39;
inline constexpr int kRunNumber7NotWhole = 40;
inline constexpr int kRunNumber7TooLong = 41;
inline constexpr int kNumberNotWhole = 42;
inline constexpr int kNumberTooLong = 43;
inline constexpr int kK0053TooLong = 44;
inline constexpr int kApplicationNotRunning = 46;
inline constexpr int kNoPartProgram = 47;
inline constexpr int kLanguageFileMissing = 54;
inline constexpr int kUnknownTypeEnd = 55;
inline constexpr int kConversionStops = 56;
inline constexpr int kNamedValueStart = 58;         // + blank + keyword + blank + one of 59..62
inline constexpr int kValueTooLong = 59;
inline constexpr int kValueNotNumber = 60;
inline constexpr int kValueCut = 61;
inline constexpr int kValueAboveFour = 62;
inline constexpr int kReplacementStart = 63;        // + " 4 " + kReplacementEnd
inline constexpr int kReplacementEnd = 64;
inline constexpr int kPositionResultType = 132;

// Keywords of the part program's named values.
inline constexpr int kKeywordK2060 = 150;
inline constexpr int kKeywordCodeList = 151;
inline constexpr int kKeywordRunIdent = 152;
inline constexpr int kKeywordRunNumber6 = 153;
inline constexpr int kKeywordRunNumber7 = 154;
inline constexpr int kKeywordNumber = 155;
inline constexpr int kKeywordK0053 = 157;
inline constexpr int kKeywordK0012 = 158;
inline constexpr int kKeywordK1007 = 159;
inline constexpr int kKeywordK1101 = 160;
inline constexpr int kKeywordK1303 = 161;
inline constexpr int kKeywordK2005 = 162;
inline constexpr int kKeywordK2022 = 163;
inline constexpr int kKeywordK2404 = 164;
inline constexpr int kKeywordK1011 = 165;

} // namespace config::textline
