// The detail document of one HLA radio. It keeps a copy of the radio's
// record, refreshed after every reflection, so the views never reach into the
// radio list (where the record may be deleted when the RTI removes the
// object). Written on the UI thread only.
#pragma once

#include "engine/CDetailDoc.h"
#include "engine/CRadioReceive.h"

class CQuorlexHlaDoc final : public CDetailDoc {
public:
    struct Snapshot : DetailDocData {
        std::uint32_t objectHandle = kNoObjectHandle;
        std::optional<CRadioReceive> radio;   // none once the radio was removed
    };

    explicit CQuorlexHlaDoc(std::uint32_t objectHandle);

    RadioKind GetKind() const override { return RadioKind::Hla; }
    std::uint32_t GetObjectHandle() const { return m_objectHandle; }

    // Takes the radio's current values and its modulation parameters.
    void SetRadio(const CRadioReceive& radio);
    // The radio is gone: the views stop drawing its transmitter part.
    void DetachRadio();

    Snapshot TakeSnapshot() const;

private:
    const std::uint32_t m_objectHandle;
    std::optional<CRadioReceive> m_radio;
};
