// What the monitor's HLA federate hands to the application: the attribute
// values of radio transmitters as they are reflected, the radio signals
// received, the removal of objects, the attribute update requests that must
// wait until the RTI's tick has returned, and the messages for the user.
//
// Every call comes from the UI thread, most of them from inside the RTI's
// tick, where the federate ambassador's callbacks run.
#pragma once

#include "engine/DisPdu.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class IHlaApplication {
public:
    virtual ~IHlaApplication() = default;

    // One attribute of one object, as its value came (network byte order);
    // `bitValue` names it (RprRadioAttribute). May throw when the object's
    // name cannot be had; the value is not kept.
    virtual void OnHlaTransmitterAttribute(std::uint32_t object, std::uint32_t bitValue, const std::uint8_t* value,
                                           std::size_t length) = 0;
    // After every attribute of one reflection.
    virtual void OnHlaObjectReflected(std::uint32_t object) = 0;
    // A radio signal: the fixed part of a Signal PDU in host order, its data
    // and the object name of the radio that sent it.
    virtual void OnHlaSignal(const SignalPdu& header, std::span<const std::uint8_t> data,
                             const std::string& hostRadioIndex) = 0;
    // The object left the federation; false when the application never saw it.
    virtual bool RemoveHlaObject(std::uint32_t object) = 0;
    // Asks for the attributes of `mask` of one object (0: every object of the
    // radio-transmitter class) once the current tick has returned.
    virtual void PostRequestAttributeUpdate(std::uint32_t object, std::uint32_t mask) = 0;
    // A message box for the user (a failed start or resignation).
    virtual void ShowHlaMessage(const std::string& text) = 0;
};
