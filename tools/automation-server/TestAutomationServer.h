#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "source/ComAutomationApartment.h"
#include "source/ComAutomationTypes.h"
#include "source/MemoryApplication.h"
#include "source/ModelRecords.h"

namespace testserver {

// The class the test server registers for "Veltrum.Application".
// {6D1C9E42-7A43-4E8B-9F0A-3C52B1D7E801}
inline constexpr CLSID kApplicationClassId{0x6d1c9e42, 0x7a43, 0x4e8b, {0x9f, 0x0a, 0x3c, 0x52, 0xb1, 0xd7, 0xe8, 0x01}};
inline constexpr const char* kMainWindowClass = "OrvianVeltrumWndClass";
inline constexpr const wchar_t* kProgrammaticId = L"Veltrum.Application";

// What a client did to the server, beyond the member calls that the application's ReadLog counts.
struct ServerCounters {
    std::uint64_t invokes = 0;           // IDispatch::Invoke calls on any object
    std::uint64_t unknownMembers = 0;    // Invoke with a dispatch identifier or call kind that is not served
    std::uint64_t enumeratorNexts = 0;   // IEnumVARIANT::Next calls
    std::uint64_t applicationRequests = 0; // class factory CreateInstance, or QueryInterface on the application object
    std::uint64_t rejectedCalls = 0;     // incoming calls rejected while busy
    std::uint64_t endProcessAtInvoke = 0; // not a count: the Invoke during which the process ends; 0 never
};

// A time the server is busy and rejects every incoming call, as the application is at the end of a
// measurement: it starts with the first incoming call after afterMemberCalls member calls.
struct BusyPeriod {
    std::uint64_t afterMemberCalls = 0;
    DWORD milliseconds = 0;
    DWORD answer = SERVERCALL_REJECTED; // or SERVERCALL_RETRYLATER
    ULONGLONG startedAt = 0;            // tick count; 0 not yet
};

struct ServerOptions {
    bool showMainWindow = true;  // the window of class OrvianVeltrumWndClass
    bool offerObject = true;     // the class factory and, with useRunningObjectTable, the active object
    bool useRunningObjectTable = true;
};

// A stand-in for the measuring application on this machine: it serves an in-memory application (a
// snapshot) through IDispatch with the application's dispatch identifiers, on the calling thread's
// single-threaded apartment, and counts what its clients call. Calls reach it only while the thread
// pumps messages (serveUntilExit). One server per process at a time.
class TestAutomationServer {
public:
    explicit TestAutomationServer(source::ApplicationRecord record, ServerOptions options = {});
    ~TestAutomationServer();
    TestAutomationServer(const TestAutomationServer&) = delete;
    TestAutomationServer& operator=(const TestAutomationServer&) = delete;

    // Registers "Veltrum.Application" under HKEY_LOCAL_MACHINE\Software\Classes (Wine does not look
    // for classes under HKEY_CURRENT_USER). Throws std::runtime_error.
    static void registerProgrammaticId();

    // Serves calls until the process ends or the time is up; returns false when the time ran out.
    bool serveUntilExit(HANDLE process, DWORD milliseconds);

    // Adds a busy time; its calls are rejected by the server's message filter, as COM does it.
    void beBusy(BusyPeriod period) { m_busy->push_back(period); }
    // Ends the process during the n-th Invoke from now on, as an application that crashes or is closed.
    void endProcessAtInvoke(std::uint64_t n) { m_counters->endProcessAtInvoke = m_counters->invokes + n; }

    source::MemoryApplication& application() { return *m_application; }
    const ServerCounters& counters() const { return *m_counters; }

private:
    source::ComAutomationApartment m_apartment; // first in, last out
    std::shared_ptr<source::MemoryApplication> m_application;
    std::shared_ptr<ServerCounters> m_counters;
    std::shared_ptr<std::vector<BusyPeriod>> m_busy = std::make_shared<std::vector<BusyPeriod>>();
    source::ComPtr<IMessageFilter> m_previousFilter;
    bool m_filterRegistered = false;
    source::ComPtr<IDispatch> m_served;
    source::ComPtr<IClassFactory> m_factory;
    HWND m_window = nullptr;
    DWORD m_classCookie = 0;
    DWORD m_activeObjectCookie = 0;
};

} // namespace testserver
