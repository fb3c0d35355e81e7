// The view of a DIS detail window: the radio's latest Transmitter PDU and,
// once one was shown, its latest Signal PDU, as a labelled grid (at first) or
// as a hex dump of the stored records (the Raw Data command).
#pragma once

#include "CDetailView.h"
#include "DisDetailText.h"
#include "IRawDataView.h"

#include <memory>

class CQuorlexDoc;

class CQuorlexView final : public CDetailView, public IRawDataView {
    Q_OBJECT
public:
    explicit CQuorlexView(std::shared_ptr<CQuorlexDoc> document, QWidget* parent = nullptr);

    DisDisplay Display() const { return m_display; }

    // Raw Data (32772): switches between the grid and the dump at once.
    bool IsRawData() const override { return m_display == DisDisplay::Raw; }
    void ToggleRawData() override;

protected:
    Pages BuildPages() const override;

private:
    std::shared_ptr<CQuorlexDoc> m_document;
    DisDisplay m_display = DisDisplay::Grid;
};
