// Radio records and a tree printout for the transmitter tree's tests.
#pragma once

#include "CTransmitterTree.h"
#include "TransmitterTreeHost.h"
#include "engine/CRadioReceive.h"
#include "engine/PduView.h"
#include "engine/RprRadioAttribute.h"
#include "monitor/engine/TestPdus.h"

#include <QStringList>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace treetest {

inline constexpr std::uint8_t kOn = TransmitStateOnAndTransmitting;
inline constexpr std::uint8_t kOff = 1;

// A DIS radio's record after `transmits` Transmitter PDUs from `sender`.
inline CRadioReceive DisRadio(const DisRadioId& id, const std::string& sender, std::uint8_t state = kOff,
                              std::uint32_t transmits = 1)
{
    TransmitterPdu pdu = testpdu::Transmitter(id);
    pdu.transmitState = state;
    CRadioReceive radio;
    for (std::uint32_t i = 0; i < transmits; ++i)
        radio.UpdateFromTransmitter(TransmitterPduView{pdu, {}, {}}, sender.c_str());
    return radio;
}

inline void Decode(CRadioReceive& radio, RprRadioAttribute attribute, const std::vector<std::uint8_t>& value)
{
    radio.DecodeHlaAttribute(AttributeBit(attribute), value.data(), value.size());
}

// An HLA radio; without a host it keeps the placeholder host.
inline CRadioReceive HlaRadio(std::uint32_t handle, const std::string& name, const std::string& host = {},
                              std::uint8_t state = kOff)
{
    CRadioReceive radio;
    radio.SetObjectHandle(handle);
    radio.SetObjectName(name);
    if (!host.empty())
        Decode(radio, RprRadioAttribute::FederateHost, std::vector<std::uint8_t>(host.begin(), host.end()));
    Decode(radio, RprRadioAttribute::TransmitterOperationalStatus, {state});
    // 251 MHz, big-endian high and low halves.
    Decode(radio, RprRadioAttribute::Frequency, {0, 0, 0, 0, 0x0E, 0xF5, 0xF4, 0xC0});
    return radio;
}

// A host whose state the test changes; the radios the sweep drops are recorded.
struct Host {
    MonitoringState monitoring{true, 3000, true, "DefaultFed"};
    QuickViewFlags quickView{};
    std::int32_t treeType = 0;
    std::map<std::uint64_t, CRadioReceive> disRadios;   // by DisRadioId::Packed()
    std::map<std::uint32_t, CRadioReceive> hlaRadios;   // by object handle
    std::vector<std::string> swept;
    int reads = 0;

    TransmitterTreeHost Make()
    {
        TransmitterTreeHost host;
        host.getRadio = [this](const RadioRef& ref) -> std::optional<CRadioReceive> {
            ++reads;
            if (ref.kind == RadioKind::Hla) {
                auto found = hlaRadios.find(ref.objectHandle);
                return found == hlaRadios.end() ? std::nullopt : std::optional(found->second);
            }
            auto found = disRadios.find(ref.dis.Packed());
            return found == disRadios.end() ? std::nullopt : std::optional(found->second);
        };
        host.monitoring = [this] { return monitoring; };
        host.quickView = [this] { return quickView; };
        host.treeType = [this] { return treeType; };
        host.radioSwept = [this](const std::string& key) { swept.push_back(key); };
        return host;
    }
};

// The tree as indented lines "text [picture]"; quick-view lines (shown
// without their picture) only when `lines` is set.
inline void DumpItem(const QTreeWidgetItem* item, int depth, bool lines, QStringList& out)
{
    const auto* treeItem = static_cast<const CTransmitterTreeItem*>(item);
    const bool isLine = treeItem->role() == CTransmitterTreeItem::Role::QuickView;
    if (isLine && !lines)
        return;
    QString line = QString(depth * 2, ' ') + treeItem->itemText();
    if (!isLine)
        line += QString(" [%1]").arg(CTransmitterTreeIcons::Name(treeItem->image()));
    out.append(line);
    for (int i = 0; i < item->childCount(); ++i)
        DumpItem(item->child(i), depth + 1, lines, out);
}

inline QString Dump(const CTransmitterTree& tree, bool lines = false)
{
    QStringList out;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        DumpItem(tree.topLevelItem(i), 0, lines, out);
    return out.join('\n');
}

}   // namespace treetest
