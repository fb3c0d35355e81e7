#include "CChildFrame.h"

#include "CGuiPost.h"
#include "CQuorlexIcons.h"
#include "engine/CDetailDoc.h"

#include <QCloseEvent>
#include <QPalette>

// Follows the document's title. Documents tell their views on the thread that
// changed them, so the new title is handed to the GUI thread.
class CChildFrame::TitleFollower final : public IDocumentView {
public:
    explicit TitleFollower(CChildFrame* frame) : m_frame(frame), m_post(frame) {}
    void Disarm() { m_post.Disarm(); }
    void OnDocumentChanged(DocumentHint hint) override
    {
        if (hint == DocumentHint::Title)
            m_post.Post([frame = m_frame] { frame->RefreshTitle(); });
    }

private:
    CChildFrame* m_frame;
    CGuiPost m_post;
};

CChildFrame::CChildFrame(std::shared_ptr<CDetailDoc> document, QWidget* view, QWidget* parent)
    : QMdiSubWindow(parent), m_kind(document->GetKind()), m_document(std::move(document))
{
    Init(view);
    m_titleFollower = std::make_shared<TitleFollower>(this);
    m_document->AddView(m_titleFollower);
    RefreshTitle();
}

CChildFrame::CChildFrame(RadioKind kind, QWidget* view, QWidget* parent) : QMdiSubWindow(parent), m_kind(kind)
{
    Init(view);
}

CChildFrame::~CChildFrame()
{
    if (m_titleFollower) {
        m_titleFollower->Disarm();
        m_document->RemoveView(m_titleFollower.get());
    }
}

void CChildFrame::Init(QWidget* view)
{
    setObjectName(m_kind == RadioKind::Dis ? "DisDetailFrame" : "HlaDetailFrame");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(CQuorlexIcons::Application());
    setWidget(view ? view : MakeEmptyView());
}

void CChildFrame::RefreshTitle() { setWindowTitle(QString::fromStdString(m_document->GetTitle())); }

void CChildFrame::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed(this);
}

QWidget* CChildFrame::MakeEmptyView()
{
    auto* view = new QWidget;
    view->setObjectName("EmptyDetailView");
    view->setAutoFillBackground(true);
    view->setBackgroundRole(QPalette::Base);
    view->setMinimumSize(200, 120);
    return view;
}
