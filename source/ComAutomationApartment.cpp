#include "ComAutomationApartment.h"

#include "ReadError.h"

#include <objbase.h>

#include <system_error>

namespace source {

ComAutomationApartment::ComAutomationApartment()
{
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (result == RPC_E_CHANGED_MODE)
        return;   // not ours to undo
    if (FAILED(result))
        throw ConnectionError("Cannot initialise COM: " + std::system_category().message(static_cast<int>(result)));
    // S_FALSE (already initialised on this thread) must be balanced as well.
    m_mustUninitialize = true;
}

ComAutomationApartment::~ComAutomationApartment()
{
    if (m_mustUninitialize)
        CoUninitialize();
}

} // namespace source
