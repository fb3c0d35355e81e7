#include "CResizableBar.h"

#include <QMainWindow>
#include <QResizeEvent>
#include <QTimer>

#include <algorithm>

CResizableBar::CResizableBar(const QString& title, int barId, QWidget* parent)
    : QDockWidget(title, parent), m_barId(barId)
{
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    connect(this, &QDockWidget::dockLocationChanged, this, &CResizableBar::ScheduleApply);
    connect(this, &QDockWidget::topLevelChanged, this, &CResizableBar::ScheduleApply);
    m_applyPending = true;
}

BarSizes CResizableBar::Clamp(const BarSizes& sizes)
{
    BarSizes clamped = sizes;
    clamped.horzCx = std::max(sizes.horzCx, kMinimum.horzCx);
    clamped.horzCy = std::max(sizes.horzCy, kMinimum.horzCy);
    clamped.vertCx = std::max(sizes.vertCx, kMinimum.vertCx);
    clamped.vertCy = std::max(sizes.vertCy, kMinimum.vertCy);
    clamped.floatCx = std::max(sizes.floatCx, kMinimum.floatCx);
    clamped.floatCy = std::max(sizes.floatCy, kMinimum.floatCy);
    return clamped;
}

void CResizableBar::SetSizes(const BarSizes& sizes)
{
    m_sizes = Clamp(sizes);
    ScheduleApply();
}

void CResizableBar::RestoreSizes(const CProfile& profile) { SetSizes(profile.ReadBarSizes(m_barId, m_sizes)); }

void CResizableBar::StoreSizes(CProfile& profile) const { profile.WriteBarSizes(m_barId, m_sizes); }

QMainWindow* CResizableBar::mainWindow() const { return qobject_cast<QMainWindow*>(parentWidget()); }

CResizableBar::DockState CResizableBar::dockState() const
{
    QMainWindow* window = mainWindow();
    if (isFloating() || !window)
        return DockState::Floating;
    const Qt::DockWidgetArea area = window->dockWidgetArea(const_cast<CResizableBar*>(this));
    if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
        return DockState::Horizontal;
    return DockState::Vertical;
}

void CResizableBar::ScheduleApply()
{
    m_applyPending = true;
    if (m_applyQueued)
        return;
    m_applyQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_applyQueued = false;
        ApplySize();
    });
}

void CResizableBar::ApplySize()
{
    // A hidden bar takes its size when it is shown again.
    if (!isVisible())
        return;
    m_applyPending = false;
    QMainWindow* window = mainWindow();
    switch (dockState()) {
    case DockState::Horizontal:
        if (window)
            window->resizeDocks({this}, {m_sizes.horzCy}, Qt::Vertical);
        break;
    case DockState::Vertical:
        if (window)
            window->resizeDocks({this}, {m_sizes.vertCx}, Qt::Horizontal);
        break;
    case DockState::Floating:
        resize(m_sizes.floatCx, m_sizes.floatCy);
        break;
    }
}

void CResizableBar::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    if (m_applyPending)
        ScheduleApply();
}

void CResizableBar::resizeEvent(QResizeEvent* event)
{
    QDockWidget::resizeEvent(event);
    if (m_applyPending || !isVisible())
        return;
    const QSize size = event->size();
    switch (dockState()) {
    case DockState::Horizontal:
        m_sizes.horzCx = size.width();
        m_sizes.horzCy = size.height();
        break;
    case DockState::Vertical:
        m_sizes.vertCx = size.width();
        m_sizes.vertCy = size.height();
        break;
    case DockState::Floating:
        m_sizes.floatCx = size.width();
        m_sizes.floatCy = size.height();
        break;
    }
    m_sizes = Clamp(m_sizes);
}
