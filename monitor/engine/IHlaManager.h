// What the monitor's application asks of its HLA federate. The federate
// itself (in monitor/hla) owns the RTI ambassador and turns these calls into
// RTI services; this interface keeps the RTI's own types out of the core, so
// that the core neither includes an RTI header nor links the RTI library.
//
// Every call comes from the UI thread. The RTI callbacks of the federate run
// inside Tick and reach the application through CQuorlexAppCore's HLA
// handlers.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// An RTI service failed; what() carries the RTI's reason.
class HlaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Attribute handles as the federate's RTI numbers them.
using HlaAttributeHandles = std::vector<std::uint32_t>;

// The object classes the monitor asks about.
enum class HlaClassKind : std::int32_t {
    RadioTransmitter = 1,   // EmbeddedSystem.RadioTransmitter
};

class IHlaManager {
public:
    virtual ~IHlaManager() = default;

    // Creates the federation execution when needed, joins it, publishes and
    // subscribes the radio classes and registers the monitor's own radio
    // object. On failure the manager has told the user why; false.
    virtual bool JoinFederation(const std::string& federation) = 0;

    // Deletes the monitor's object, resigns and tries to destroy the
    // federation execution. False when the resign or the destroy failed.
    virtual bool ResignFederation() = 0;

    // The attribute handles of the set bits of `mask` (bits as in
    // RprRadioAttribute); nothing when no bit is set.
    virtual std::optional<HlaAttributeHandles> MakeAttributeHandleSet(std::uint32_t mask) = 0;

    // The class handle of the kind; nothing for a kind the manager does not know.
    virtual std::optional<std::uint32_t> GetClassHandle(HlaClassKind kind) = 0;

    // The descriptors that become readable when received input waits for
    // Tick (the application watches them to tick at once); none without a
    // federation. They stay the RTI's and are valid until the resignation.
    virtual std::vector<int> InputDescriptors() { return {}; }

    // True once the federation is lost for good (the federation's rtiexec
    // has ended): from then on Tick and the services fail, and the federate
    // can only resign.
    virtual bool IsFederationLost() { return false; }

    // The ambassador services the application calls. Each may throw HlaError
    // (or another std::exception) when the RTI refuses.
    //
    // Tick handles the received input, its callbacks included, one message
    // after another until none waits or `budgetSeconds` have passed (checked
    // after each message), so that a flood cannot hold the caller for longer.
    // True when it stopped with input still waiting.
    virtual bool Tick(double budgetSeconds) = 0;
    virtual void RequestObjectAttributeValueUpdate(std::uint32_t object, const HlaAttributeHandles& attributes) = 0;
    virtual void RequestClassAttributeValueUpdate(std::uint32_t objectClass, const HlaAttributeHandles& attributes) = 0;
    virtual std::string GetObjectInstanceName(std::uint32_t object) = 0;
};
