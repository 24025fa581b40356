#include "ProcessElevation.h"

#include <memory>
#include <type_traits>

namespace app {
namespace {

using HandleOwner = std::unique_ptr<std::remove_pointer_t<HANDLE>, decltype(&CloseHandle)>;

} // namespace

ProcessElevation elevationOfProcess(DWORD processId)
{
    HandleOwner process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId), &CloseHandle);
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED ? ProcessElevation::Hidden : ProcessElevation::Unknown;
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(process.get(), TOKEN_QUERY, &rawToken))
        return GetLastError() == ERROR_ACCESS_DENIED ? ProcessElevation::Hidden : ProcessElevation::Unknown;
    const HandleOwner token(rawToken, &CloseHandle);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size))
        return ProcessElevation::Unknown;
    return elevation.TokenIsElevated ? ProcessElevation::Elevated : ProcessElevation::NotElevated;
}

bool runsWithOtherRights(ProcessElevation own, ProcessElevation owner)
{
    if (own == ProcessElevation::Unknown || own == ProcessElevation::Hidden || owner == ProcessElevation::Unknown)
        return false;
    // An elevated process may look into every other; one that may not look runs higher.
    if (owner == ProcessElevation::Hidden)
        return own == ProcessElevation::NotElevated;
    return own != owner;
}

} // namespace app
