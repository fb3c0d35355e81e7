// The MDI child frame of a detail window (one radio, DIS or HLA).
#pragma once

#include <QMdiSubWindow>

// Which detail template made the window.
enum class DetailKind { Dis = 0, Hla = 1 };

// Holds the window's view and nothing else; the window is deleted when it is
// closed (closing never asks anything: detail documents are never modified).
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // `view` becomes the frame's widget; null gives an empty view.
    explicit CChildFrame(DetailKind kind, QWidget* view = nullptr, QWidget* parent = nullptr);

    DetailKind kind() const { return m_kind; }
    QWidget* view() const { return widget(); }

    // An empty white view, the stand-in until a detail view exists.
    static QWidget* MakeEmptyView();

private:
    DetailKind m_kind;
};
