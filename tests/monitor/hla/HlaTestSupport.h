// For the tests of Quorlex's HLA federate: a serverless federation of the
// test's own (its own UDP port, held while the test runs, and its own
// multicast group, in a RID file that RTI_RID_FILE names; the working
// directory is a scratch one, where the RTI writes its log), the FED file
// the program uses, and an application that records what the federate hands
// it.
#pragma once

#include "engine/IHlaManager.h"
#include "hla/IHlaApplication.h"
#include "monitor/engine/PortHolder.h"
#include "rti/config/ConfigTestFiles.h"
#include "support/WaitUntil.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace hlatest {

// The directory of the FED file beside the program.
inline std::string FedDirectory() { return QLX_BINARY_ROOT "/bin"; }

// The federation of one test: port, group (239.78.<port>), RID file and a
// scratch working directory, for the life of the object.
class FederationScope {
public:
    explicit FederationScope(const std::string& moreForms = "")
        : m_directory(true), m_rid("RTI_RID_FILE", m_directory.write("test-rid.mtl", RidText() + moreForms).c_str()),
          m_config("RTI_CONFIG", nullptr)
    {
    }
    const ScratchDirectory& directory() const { return m_directory; }
    std::uint16_t port() const { return m_port.port(); }

private:
    std::string RidText() const
    {
        const unsigned port = m_port.port();
        return "(setq RTI_udpPort " + std::to_string(port) + ")\n" + "(setq RTI_destAddrString \"239.78." +
               std::to_string(port >> 8) + "." + std::to_string(port & 0xFF) + "\")\n" +
               "(setq RTI_mcastDevAddrString \"127.0.0.1\")\n(setq RTI_tcpForwarderAddr \"127.0.0.1\")\n"
               "(setq RTI_notifyLevel 1)\n(setq RTI_dumpFed 0)\n";
    }

    testnet::PortHolder m_port{true};   // shared with the RTI's sockets, held while the test runs
    ScratchDirectory m_directory;
    ScopedEnv m_rid;
    ScopedEnv m_config;
};

// Records every call of the federate. OnHlaTransmitterAttribute throws for
// the bits of `failingBits`, as the application does when a radio's name
// cannot be had.
class RecordingApplication : public IHlaApplication {
public:
    struct Attribute {
        std::uint32_t object, bit;
        std::vector<std::uint8_t> value;
        bool operator==(const Attribute&) const = default;
    };
    struct Signal {
        SignalPdu header;
        std::vector<std::uint8_t> data;
        std::string hostRadioIndex;
    };
    struct Request {
        std::uint32_t object, mask;
        bool operator==(const Request&) const = default;
    };

    void OnHlaTransmitterAttribute(std::uint32_t object, std::uint32_t bitValue, const std::uint8_t* value,
                                   std::size_t length) override
    {
        if (failingBits & bitValue)
            throw HlaError("ObjectNotKnown");
        attributes.push_back({object, bitValue, std::vector<std::uint8_t>(value, value + length)});
    }
    void OnHlaObjectReflected(std::uint32_t object) override { reflected.push_back(object); }
    void OnHlaSignal(const SignalPdu& header, std::span<const std::uint8_t> data,
                     const std::string& hostRadioIndex) override
    {
        heard.push_back({header, {data.begin(), data.end()}, hostRadioIndex});
    }
    bool RemoveHlaObject(std::uint32_t object) override
    {
        removed.push_back(object);
        return true;
    }
    void PostRequestAttributeUpdate(std::uint32_t object, std::uint32_t mask) override
    {
        requests.push_back({object, mask});
    }
    void ShowHlaMessage(const std::string& text) override { messages.push_back(text); }

    // The attribute bits that reached the application for the object.
    std::uint32_t BitsOf(std::uint32_t object) const
    {
        std::uint32_t bits = 0;
        for (const Attribute& attribute : attributes)
            if (attribute.object == object)
                bits |= attribute.bit;
        return bits;
    }

    std::uint32_t failingBits = 0;
    std::vector<Attribute> attributes;
    std::vector<std::uint32_t> reflected;
    std::vector<Signal> heard;   // the radio signals
    std::vector<std::uint32_t> removed;
    std::vector<Request> requests;
    std::vector<std::string> messages;
};

}   // namespace hlatest
