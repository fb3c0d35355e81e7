#include "CChildFrame.h"

#include <QPalette>

CChildFrame::CChildFrame(DetailKind kind, QWidget* view, QWidget* parent)
    : QMdiSubWindow(parent), m_kind(kind)
{
    setObjectName(kind == DetailKind::Dis ? "DisDetailFrame" : "HlaDetailFrame");
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view ? view : MakeEmptyView());
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
