// veltrum-test-server SNAPSHOT [END-AT-CALL]: the test server in a process of its own. It serves the
// snapshot as the running measuring application until its window is closed.
// With END-AT-CALL the process ends in the middle of that member call, as a crashing application does.
#include "TestAutomationServer.h"

#include "source/Snapshot.h"

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <exception>
#include <memory>

int main()
{
    try {
        int count = 0;
        const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
        if (!arguments || count < 2 || count > 3) {
            std::fputs("usage: veltrum-test-server SNAPSHOT [END-AT-CALL]\n", stderr);
            return 2;
        }
        testserver::TestAutomationServer server(source::readSnapshotFile(arguments.get()[1]));
        if (count == 3)
            server.endProcessAtInvoke(std::wcstoull(arguments.get()[2], nullptr, 10));
        std::puts("Serving; close the window or end the process to stop.");
        std::fflush(stdout);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "veltrum-test-server: %s\n", error.what());
        return 1;
    }
}
