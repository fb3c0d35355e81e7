// The view of an HLA detail window: the radio's current values and, once a
// RadioSignal interaction was shown, the signal's header values and first
// data bytes, as a labelled grid. It has no dump, so Raw Data is unavailable
// while an HLA window is active.
#pragma once

#include "CDetailView.h"

#include <memory>

class CQuorlexHlaDoc;

class CQuorlexHlaView final : public CDetailView {
    Q_OBJECT
public:
    explicit CQuorlexHlaView(std::shared_ptr<CQuorlexHlaDoc> document, QWidget* parent = nullptr);

protected:
    Pages BuildPages() const override;

private:
    std::shared_ptr<CQuorlexHlaDoc> m_document;
};
