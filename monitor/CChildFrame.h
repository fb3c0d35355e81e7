// The MDI child frame of a detail window: one radio's document, DIS or HLA.
#pragma once

#include "engine/RadioKey.h"

#include <QMdiSubWindow>

#include <memory>

class CDetailDoc;
class CGuiPost;

// Shows the document's view and keeps the window title on the document's
// title. The window is deleted when it is closed, and closing never asks
// anything: detail documents are never modified.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    // `view` becomes the frame's widget; null gives an empty view.
    explicit CChildFrame(std::shared_ptr<CDetailDoc> document, QWidget* view = nullptr, QWidget* parent = nullptr);
    // A window without a document (for layouts and tests).
    explicit CChildFrame(RadioKind kind, QWidget* view = nullptr, QWidget* parent = nullptr);
    ~CChildFrame() override;

    RadioKind kind() const { return m_kind; }
    const std::shared_ptr<CDetailDoc>& document() const { return m_document; }
    QWidget* view() const { return widget(); }
    // Set once the window is to close (CMainFrame::CloseChildLater).
    bool isClosing() const { return m_closing; }
    void SetClosing() { m_closing = true; }

    // An empty white view, the stand-in until a detail view exists.
    static QWidget* MakeEmptyView();

signals:
    // The user (or Close All) closed the window; the document is still held.
    void closed(CChildFrame* child);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    class TitleFollower;
    void Init(QWidget* view);
    void RefreshTitle();

    RadioKind m_kind;
    std::shared_ptr<CDetailDoc> m_document;
    std::shared_ptr<TitleFollower> m_titleFollower;
    bool m_closing = false;
};
