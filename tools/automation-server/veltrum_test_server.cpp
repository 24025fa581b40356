// veltrum-test-server: serves a snapshot as the running Veltrum on a PC without the measuring
// application, until the process is ended. Support reproduces a customer's part program from the
// file that `norda-cli --save-snapshot` saved there; the Windows suite runs it for an application
// that ends mid-call. Refused calls come from the snapshot's failingReads.
#include "TestAutomationServer.h"

#include "source/Snapshot.h"

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: veltrum-test-server SNAPSHOT [--busy AFTER-CALLS MILLISECONDS] [--end-at CALL]\n"
    "Serves SNAPSHOT (saved with norda-cli --save-snapshot) as the running Veltrum until Ctrl+C; then run\n"
    "the converter with the same rights (this registers Veltrum.Application: as administrator on Windows).\n"
    "  --busy     reject every call for MILLISECONDS after AFTER-CALLS member calls, as at the end of a measurement\n"
    "  --end-at   end the process in the middle of call number CALL, as a crashing application does\n";

std::uint64_t wholeNumber(const std::wstring& text)
{
    std::size_t used = 0;
    const unsigned long long number = std::stoull(text, &used);
    if (used != text.size())
        throw std::invalid_argument("not a whole number");
    return number;
}

struct Options {
    std::wstring snapshot;
    std::vector<testserver::BusyPeriod> busy;
    std::uint64_t endAt = 0; // 0: never
};

// The options of the command line; nothing when they do not fit the usage.
std::optional<Options> parse(const std::vector<std::wstring>& arguments)
{
    if (arguments.empty())
        return std::nullopt;
    Options options;
    options.snapshot = arguments[0];
    try {
        for (std::size_t i = 1; i < arguments.size(); ++i) {
            if (arguments[i] == L"--end-at" && i + 1 < arguments.size()) {
                options.endAt = wholeNumber(arguments[++i]);
            } else if (arguments[i] == L"--busy" && i + 2 < arguments.size()) {
                const std::uint64_t after = wholeNumber(arguments[++i]);
                options.busy.push_back({after, static_cast<DWORD>(wholeNumber(arguments[++i])), SERVERCALL_REJECTED, 0});
            } else {
                return std::nullopt;
            }
        }
    } catch (const std::logic_error&) { // std::stoull's and ours
        return std::nullopt;
    }
    return options;
}

} // namespace

int main()
{
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> argv(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    const std::optional<Options> options = argv ? parse({argv.get() + 1, argv.get() + count}) : std::nullopt;
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        testserver::TestAutomationServer server(source::readSnapshotFile(options->snapshot));
        for (const auto& period : options->busy)
            server.beBusy(period);
        if (options->endAt > 0)
            server.endProcessAtInvoke(options->endAt);
        std::puts("Serving as the running Veltrum; Ctrl+C stops it.");
        std::fflush(stdout);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "veltrum-test-server: %s\n", error.what());
        return 1;
    }
}
