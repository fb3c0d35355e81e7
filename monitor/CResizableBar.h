// A dock widget that remembers its own size for each way it can sit: docked
// at the top or bottom (horizontal), docked left or right (vertical), and
// floating. Moving it between them brings back the size it last had there,
// and the sizes persist in the profile section "BarState-SCBar-<bar id>"
// (keys sizeHorzCX, sizeHorzCY, sizeVertCX, sizeVertCY, sizeFloatCX,
// sizeFloatCY). Qt's dock layout does the docking, sizing edges and row
// sharing itself.
#pragma once

#include "engine/CProfile.h"

#include <QDockWidget>

class QMainWindow;

class CResizableBar : public QDockWidget {
    Q_OBJECT
public:
    // The smallest sizes a bar takes: a profile that holds less is damaged.
    static constexpr BarSizes kMinimum{33, 32, 33, 32, 37, 32};
    static constexpr std::int32_t kDefaultSize = 200;

    enum class DockState { Horizontal, Vertical, Floating };

    CResizableBar(const QString& title, int barId, QWidget* parent = nullptr);

    int barId() const { return m_barId; }
    const BarSizes& sizes() const { return m_sizes; }
    // Takes the sizes (each at least its minimum) and applies the one of the
    // current docking state.
    void SetSizes(const BarSizes& sizes);
    DockState dockState() const;

    // The profile's sizes, each absent one keeping the current size.
    void RestoreSizes(const CProfile& profile);
    void StoreSizes(CProfile& profile) const;

    static BarSizes Clamp(const BarSizes& sizes);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QMainWindow* mainWindow() const;
    // The size of the new docking state is applied once the dock layout has
    // placed the bar; until then the layout's own sizes are not remembered.
    void ScheduleApply();
    void ApplySize();

    int m_barId;
    BarSizes m_sizes{kDefaultSize, kDefaultSize, kDefaultSize, kDefaultSize, kDefaultSize, kDefaultSize};
    bool m_applyPending = false;
    bool m_applyQueued = false;
};
