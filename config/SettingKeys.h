#pragma once

#include <array>
#include <string_view>

// Where the converter's settings live in the settings store, and their keys.
namespace config::setting {

inline constexpr std::string_view kApplication = "VELTRUM_NORDA_KONVERTER";
inline constexpr std::string_view kSection = "Settings";

inline constexpr std::string_view kDrive = "DRIVE";
inline constexpr std::string_view kDir = "DIR";
inline constexpr std::string_view kKommentare = "KOMMENTARE";
inline constexpr std::string_view kDfq = "DFQ";
inline constexpr std::string_view kSeriennummer = "SERIENNUMMER";
// "NAMENSLÄNGE", spelled in UTF-8 bytes so that the source file's encoding cannot change the key.
inline constexpr std::string_view kNamenslaenge = "NAMENSL\xC3\x84NGE";
inline constexpr std::string_view kPosAchse = "POS_ACHSE";
inline constexpr std::string_view kProgVerz = "ProgVerz";
inline constexpr std::string_view kVersionInFileName = "VersionInFileName";
inline constexpr std::string_view kSingleFile = "SingleFile";
inline constexpr std::string_view kNordaPos = "NordaPos";

// All eleven keys, in the order in which the settings dialog writes and reads them.
inline constexpr std::array<std::string_view, 11> kDialogOrder{
    kDrive, kDir, kKommentare, kDfq, kSeriennummer, kNamenslaenge,
    kPosAchse, kProgVerz, kVersionInFileName, kSingleFile, kNordaPos,
};

// A flag as the settings dialog writes it.
inline constexpr std::string_view kFlagOff = "0";
inline constexpr std::string_view kFlagOn = "1";

} // namespace config::setting
