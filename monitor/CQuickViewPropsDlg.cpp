#include "CQuickViewPropsDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace {
constexpr std::size_t kRowsPerColumn = 5;
}

CQuickViewPropsDlg::CQuickViewPropsDlg(CProfile& profile, QWidget* parent) : QWidget(parent), m_logic(profile)
{
    setObjectName("QuickViewPage");
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("When a radio entity is expanded in the transmitter tree,\n"
                                 "the following items will be displayed:",
                                 this),
                      0, 0, 1, 2);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const QuickViewItem& item = QuickViewPageLogic::Items()[i];
        m_boxes[i] = new QCheckBox(item.label, this);
        m_boxes[i]->setObjectName(item.key->name);
        layout->addWidget(m_boxes[i], static_cast<int>(1 + i % kRowsPerColumn), static_cast<int>(i / kRowsPerColumn));
    }
    layout->setRowStretch(static_cast<int>(1 + kRowsPerColumn), 1);
}

void CQuickViewPropsDlg::InitPage()
{
    const QuickViewPageLogic::Checks checks = m_logic.Init();
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setChecked(checks[i]);
}

void CQuickViewPropsDlg::OkPage()
{
    QuickViewPageLogic::Checks checks{};
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        checks[i] = m_boxes[i]->isChecked();
    m_logic.Ok(checks);
}
