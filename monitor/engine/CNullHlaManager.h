// An HLA manager without a federation, for builds and tests that run the
// monitor without an RTI: joining and resigning succeed, nothing is ever
// discovered, and asking about an object fails as it would for an unknown one.
#pragma once

#include "engine/IHlaManager.h"

class CNullHlaManager final : public IHlaManager {
public:
    bool JoinFederation(const std::string& federation) override;
    bool ResignFederation() override;
    std::optional<HlaAttributeHandles> MakeAttributeHandleSet(std::uint32_t mask) override;
    std::optional<std::uint32_t> GetClassHandle(HlaClassKind kind) override;
    bool Tick(double budgetSeconds) override;
    void RequestObjectAttributeValueUpdate(std::uint32_t object, const HlaAttributeHandles& attributes) override;
    void RequestClassAttributeValueUpdate(std::uint32_t objectClass, const HlaAttributeHandles& attributes) override;
    std::string GetObjectInstanceName(std::uint32_t object) override;

    const std::string& GetFederation() const { return m_federation; }

private:
    std::string m_federation;
};
