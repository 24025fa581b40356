#include "UpdatesSuspension.h"

#include "source/MeasurementSource.h"

namespace kfield {

UpdatesSuspension::UpdatesSuspension(source::Application& application)
    : m_application(application), m_kept(application.UpdatesEnabled())
{
    m_application.SetUpdatesEnabled(false);
}

UpdatesSuspension::~UpdatesSuspension()
{
    if (m_restored)
        return;
    try {
        m_application.SetUpdatesEnabled(m_kept);
    } catch (...) {
        // The walk is already failing with the error that matters.
    }
}

void UpdatesSuspension::restore()
{
    // Not marked restored before the call succeeds: the destructor then tries once more.
    m_application.SetUpdatesEnabled(m_kept);
    m_restored = true;
}

} // namespace kfield
