// An HLA manager that records the application's calls. Objects it knows by
// name; asking for another object's name fails as the RTI would.
#pragma once

#include "engine/IHlaManager.h"

#include <map>
#include <string>
#include <vector>

class FakeHlaManager : public IHlaManager {
public:
    struct Request {
        bool wholeClass;
        std::uint32_t handle;   // object or class
        HlaAttributeHandles attributes;
        bool operator==(const Request&) const = default;
    };

    bool JoinFederation(const std::string& federation) override
    {
        joined = federation;
        return joinSucceeds;
    }
    bool ResignFederation() override
    {
        ++resigns;
        return true;
    }
    // Attribute bit b has handle 100 + b.
    std::optional<HlaAttributeHandles> MakeAttributeHandleSet(std::uint32_t mask) override
    {
        HlaAttributeHandles handles;
        for (std::uint32_t bit = 0; bit < 32; ++bit)
            if (mask & (1u << bit))
                handles.push_back(100 + bit);
        if (handles.empty())
            return std::nullopt;
        return handles;
    }
    std::optional<std::uint32_t> GetClassHandle(HlaClassKind kind) override
    {
        if (kind == HlaClassKind::RadioTransmitter)
            return kRadioClass;
        return std::nullopt;
    }
    bool Tick(double budgetSeconds) override
    {
        ++ticks;
        lastTickBudget = budgetSeconds;
        if (tickThrows)
            throw HlaError("tick refused");
        return inputWaits;
    }
    void RequestObjectAttributeValueUpdate(std::uint32_t object, const HlaAttributeHandles& attributes) override
    {
        if (requestsThrow)
            throw HlaError("object not known");
        requests.push_back({false, object, attributes});
    }
    void RequestClassAttributeValueUpdate(std::uint32_t objectClass, const HlaAttributeHandles& attributes) override
    {
        if (requestsThrow)
            throw std::runtime_error("not an HLA error");
        requests.push_back({true, objectClass, attributes});
    }
    std::string GetObjectInstanceName(std::uint32_t object) override
    {
        auto found = names.find(object);
        if (found == names.end())
            throw HlaError("ObjectNotKnown");
        return found->second;
    }

    static constexpr std::uint32_t kRadioClass = 42;
    std::map<std::uint32_t, std::string> names;
    std::string joined;
    bool joinSucceeds = true;
    bool tickThrows = false;
    bool inputWaits = false;   // what Tick answers
    bool requestsThrow = false;
    int ticks = 0;
    double lastTickBudget = 0;
    int resigns = 0;
    std::vector<Request> requests;
};
