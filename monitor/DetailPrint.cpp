#include "DetailPrint.h"

#include "CDetailPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

bool PrintDetailPage(const DetailPage& page, const QString& title, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const CDetailPainter layout(page, &printer);
    const QFont titleFont(CDetailPainter::BoldFont(PageStyle::Grid), &printer);
    const QFontMetrics titleMetrics(titleFont, &printer);
    const int lineHeight = layout.LineHeight();

    // The title, a blank line, then the page's lines below the top margin.
    const int header = titleMetrics.lineSpacing() + lineHeight;
    const int top = layout.LineTop(0) + header;
    const int perSheet = std::max(1, (printer.height() - top) / lineHeight);
    const std::size_t lines = page.lines.size();
    std::size_t first = 0;
    do {
        if (first > 0)
            printer.newPage();
        painter.setFont(titleFont);
        painter.drawText(QPoint(layout.ColumnX(0), layout.LineTop(0) + titleMetrics.ascent()), title);
        layout.DrawLines(painter, first, static_cast<std::size_t>(perSheet), top);
        first += static_cast<std::size_t>(perSheet);
    } while (first < lines);
    return painter.end();
}
