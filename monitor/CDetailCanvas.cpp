#include "CDetailCanvas.h"

#include "CDetailPainter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

CDetailCanvas::CDetailCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName("DetailCanvas");
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);
}

void CDetailCanvas::SetPage(DetailPage page)
{
    m_page = std::move(page);
    const CDetailPainter layout(m_page, this);
    m_charWidth = layout.CharWidth();
    m_lineHeight = layout.LineHeight();
    setFixedSize(layout.ContentSize());
    update();
}

void CDetailCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    CDetailPainter(m_page, this).Draw(painter, event->rect());
}
