#include "engine/CNullHlaManager.h"

bool CNullHlaManager::JoinFederation(const std::string& federation)
{
    m_federation = federation;
    return true;
}

bool CNullHlaManager::ResignFederation()
{
    m_federation.clear();
    return true;
}

std::optional<HlaAttributeHandles> CNullHlaManager::MakeAttributeHandleSet(std::uint32_t)
{
    return std::nullopt;   // no attribute has a handle without a federation
}

std::optional<std::uint32_t> CNullHlaManager::GetClassHandle(HlaClassKind) { return std::nullopt; }

bool CNullHlaManager::Tick(double) { return false; }

void CNullHlaManager::RequestObjectAttributeValueUpdate(std::uint32_t, const HlaAttributeHandles&) {}

void CNullHlaManager::RequestClassAttributeValueUpdate(std::uint32_t, const HlaAttributeHandles&) {}

std::string CNullHlaManager::GetObjectInstanceName(std::uint32_t object)
{
    throw HlaError("object " + std::to_string(object) + " is not known: no federation is joined");
}
