// Lays a detail page out for one paint device (a view's canvas, a printer)
// and draws it. The screen and the printer share this code, so a printout
// shows what the window shows.
//
// Grid pages: labels in the system's general font, values in its bold
// variant, four columns placed from the widest label of each label column and
// room for ten digits in the left value column. Dump pages: offsets in the
// bold fixed-pitch font, bytes in the plain one, 53 characters wide.
#pragma once

#include "DetailPage.h"

#include <QFont>
#include <QFontMetrics>
#include <QSize>
#include <QString>

#include <array>
#include <cstddef>
#include <vector>

class QPaintDevice;
class QPainter;
class QRect;

class CDetailPainter {
public:
    // `page` must outlive the painter.
    CDetailPainter(const DetailPage& page, QPaintDevice* device);

    // The plain and bold fonts of a page style.
    static QFont PlainFont(PageStyle style);
    static QFont BoldFont(PageStyle style);

    int LineHeight() const { return m_lineHeight; }
    int CharWidth() const { return m_charWidth; }
    int ColumnX(std::size_t cell) const { return m_columnX[cell]; }
    // The whole page with its margins.
    QSize ContentSize() const { return m_contentSize; }
    // The top of a line, margin included.
    int LineTop(std::size_t line) const;

    // Draws the lines that meet `exposed` (page coordinates).
    void Draw(QPainter& painter, const QRect& exposed) const;
    // Draws lines [first, first + count) with the top of line `first` at `top`.
    void DrawLines(QPainter& painter, std::size_t first, std::size_t count, int top) const;

private:
    bool IsBold(std::size_t cell) const;
    void LayOutGrid();
    void LayOutDump();
    int TextWidth(std::size_t cell, const QString& text) const;

    const DetailPage& m_page;
    std::vector<std::array<QString, 4>> m_texts;
    QFont m_plain;
    QFont m_bold;
    QFontMetrics m_plainMetrics;
    QFontMetrics m_boldMetrics;
    std::array<int, 4> m_columnX{};
    int m_lineHeight = 1;
    int m_ascent = 0;
    int m_charWidth = 1;
    int m_margin = 0;
    QSize m_contentSize;
};
