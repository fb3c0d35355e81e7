// The "Quick View" page of the Preferences sheet: which lines the
// transmitter tree shows under an expanded radio.
#pragma once

#include "IPreferencePage.h"
#include "QuickViewPageLogic.h"

#include <QWidget>

#include <array>

class CProfile;
class QCheckBox;

class CQuickViewPropsDlg : public QWidget, public IPreferencePage {
    Q_OBJECT
public:
    explicit CQuickViewPropsDlg(CProfile& profile, QWidget* parent = nullptr);

    void InitPage() override;
    void OkPage() override;

private:
    QuickViewPageLogic m_logic;
    std::array<QCheckBox*, QuickViewPageLogic::kCount> m_boxes{};
};
