// Picks the connector to the measuring application for this system.
#include "ApplicationConnector.h"
#include "SnapshotConnector.h"

#include "platform/PathText.h"

#ifdef _WIN32
#include "WindowsConnector.h"

#include "source/ComBusyBudget.h"

#include <windows.h>

#include <chrono>
#include <cwchar>

#include <string>
#endif

#include <cstdlib>

namespace app {
namespace {

// The environment's name for a snapshot file; read wide on Windows, where the narrow environment is
// in the ANSI code page.
std::optional<std::filesystem::path> snapshotFromEnvironment()
{
#ifdef _WIN32
    std::wstring value(32768, L'\0'); // the longest value Windows allows
    const DWORD length = GetEnvironmentVariableW(L"VELTRUM_SNAPSHOT", value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size())
        return std::nullopt;
    value.resize(length);
    return std::filesystem::path(value);
#else
    const char* value = std::getenv("VELTRUM_SNAPSHOT");
    if (!value || !*value)
        return std::nullopt;
    return std::filesystem::path(value);
#endif
}

#ifdef _WIN32
// How long the calls of a conversion may wait for a busy application: NORDA_BUSY_SECONDS (whole
// seconds, for tests), else the default.
std::chrono::milliseconds busyBudgetFromEnvironment()
{
    wchar_t value[16];
    const DWORD length = GetEnvironmentVariableW(L"NORDA_BUSY_SECONDS", value, 16);
    if (length == 0 || length >= 16)
        return source::kDefaultBusyBudget;
    wchar_t* end = nullptr;
    const unsigned long seconds = std::wcstoul(value, &end, 10);
    if (*end != L'\0' || seconds == 0 || seconds > 3600)
        return source::kDefaultBusyBudget;
    return std::chrono::seconds(seconds);
}
#endif

} // namespace

std::unique_ptr<ApplicationConnector> systemConnector(const char* snapshotFile)
{
    if (snapshotFile && *snapshotFile)
        return std::make_unique<SnapshotConnector>(config::pathFromUtf8(snapshotFile));
    if (auto snapshot = snapshotFromEnvironment())
        return std::make_unique<SnapshotConnector>(std::move(*snapshot));
#ifdef _WIN32
    return std::make_unique<WindowsConnector>(busyBudgetFromEnvironment());
#else
    // Without the automation server the measuring application never runs here.
    return std::make_unique<SnapshotConnector>(std::nullopt);
#endif
}

} // namespace app
