#include "hla/CQlxFedAmb.h"

#include "engine/RprRadioAttribute.h"
#include "hla/CHLAMgr.h"

#include <QtGlobal>

#include <exception>

namespace {

// No callback lets an exception into the RTI's tick: what the application
// could not take costs that callback only.
template <typename Work>
void Guarded(const char* callback, Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        qWarning("Quorlex's federate ambassador: %s failed: %s", callback, error.what());
    } catch (...) {
        qWarning("Quorlex's federate ambassador: %s failed", callback);
    }
}

}   // namespace

void CQlxFedAmb::discoverObjectInstance(RTI::ObjectHandle object, RTI::ObjectClassHandle objectClass, const char*)
{
    if (!m_manager)
        return;
    Guarded("discoverObjectInstance", [&] {
        // Asked for after the tick has returned, not from inside it.
        const auto radioClass = m_manager->GetClassHandle(HlaClassKind::RadioTransmitter);
        if (radioClass && *radioClass == objectClass)
            m_manager->Application().PostRequestAttributeUpdate(static_cast<std::uint32_t>(object),
                                                                kAllRadioTransmitterAttributes);
    });
}

void CQlxFedAmb::reflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& attributes,
                                        const char*)
{
    if (m_manager)
        Guarded("reflectAttributeValues", [&] { m_manager->ReflectAttributeValues(object, attributes); });
}

void CQlxFedAmb::reflectAttributeValues(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& attributes,
                                        const RTI::FedTime&, const char* tag, RTI::EventRetractionHandle)
{
    reflectAttributeValues(object, attributes, tag);
}

void CQlxFedAmb::receiveInteraction(RTI::InteractionClassHandle interaction,
                                    const RTI::ParameterHandleValuePairSet& parameters, const char*)
{
    if (m_manager)
        Guarded("receiveInteraction", [&] { m_manager->ReceiveInteraction(interaction, parameters); });
}

void CQlxFedAmb::receiveInteraction(RTI::InteractionClassHandle interaction,
                                    const RTI::ParameterHandleValuePairSet& parameters, const RTI::FedTime&,
                                    const char* tag, RTI::EventRetractionHandle)
{
    receiveInteraction(interaction, parameters, tag);
}

void CQlxFedAmb::removeObjectInstance(RTI::ObjectHandle object, const char*)
{
    // Passed on even for an object the application never saw; it ignores those.
    if (m_manager)
        Guarded("removeObjectInstance",
                [&] { m_manager->Application().RemoveHlaObject(static_cast<std::uint32_t>(object)); });
}

void CQlxFedAmb::removeObjectInstance(RTI::ObjectHandle object, const RTI::FedTime&, const char* tag,
                                      RTI::EventRetractionHandle)
{
    removeObjectInstance(object, tag);
}
