#include "UpdatesSuspension.h"

#include "OperatorMessages.h"

#include "source/MeasurementSource.h"

#include <exception>
#include <string>

namespace kfield {

UpdatesSuspension::UpdatesSuspension(source::Application& application, OperatorMessages& messages)
    : m_application(application), m_messages(messages), m_kept(application.UpdatesEnabled())
{
    m_application.SetUpdatesEnabled(false);
}

UpdatesSuspension::~UpdatesSuspension()
{
    if (m_restored)
        return;
    try {
        m_application.SetUpdatesEnabled(m_kept);
    } catch (const std::exception& error) {
        // The walk is already failing with its own error; this one would go unseen.
        try {
            m_messages.show("The screen updates of the measuring application may still be switched off: " +
                                std::string(error.what()),
                            MessageIcon::Critical);
        } catch (...) {
        }
    } catch (...) {
    }
}

void UpdatesSuspension::restore()
{
    // Not marked restored before the call succeeds: the destructor then tries once more.
    m_application.SetUpdatesEnabled(m_kept);
    m_restored = true;
}

} // namespace kfield
