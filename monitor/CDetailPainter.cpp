#include "CDetailPainter.h"

#include <QFontDatabase>
#include <QPainter>
#include <QRect>

#include <algorithm>

namespace {

// Room for the widest left value of a grid line that has a right column:
// a 32-bit number, or "255  255  ".
constexpr const char* kLeftValueReserve = "4294967295";
// A dump line: "%04X", a blank, then 16 bytes as "%02X ".
constexpr int kDumpOffsetChars = 5;
constexpr int kDumpLineChars = 53;

}   // namespace

QFont CDetailPainter::PlainFont(PageStyle style)
{
    return QFontDatabase::systemFont(style == PageStyle::Dump ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
}

QFont CDetailPainter::BoldFont(PageStyle style)
{
    QFont font = PlainFont(style);
    font.setBold(true);
    return font;
}

CDetailPainter::CDetailPainter(const DetailPage& page, QPaintDevice* device)
    : m_page(page), m_plain(PlainFont(page.style), device), m_bold(BoldFont(page.style), device),
      m_plainMetrics(m_plain, device), m_boldMetrics(m_bold, device)
{
    m_texts.reserve(page.lines.size());
    for (const PageLine& line : page.lines) {
        std::array<QString, 4> texts;
        for (std::size_t cell = 0; cell < texts.size(); ++cell)
            texts[cell] = QString::fromStdString(line.cells[cell]);
        m_texts.push_back(std::move(texts));
    }

    m_charWidth = std::max(1, m_plainMetrics.horizontalAdvance(QLatin1Char('0')));
    m_lineHeight = std::max({1, m_plainMetrics.lineSpacing(), m_boldMetrics.lineSpacing()});
    m_ascent = std::max(m_plainMetrics.ascent(), m_boldMetrics.ascent());
    m_margin = m_charWidth;

    if (page.style == PageStyle::Dump)
        LayOutDump();
    else
        LayOutGrid();

    int width = 0;
    for (const auto& texts : m_texts)
        for (std::size_t cell = 0; cell < texts.size(); ++cell)
            if (!texts[cell].isEmpty())
                width = std::max(width, m_columnX[cell] + TextWidth(cell, texts[cell]));
    width = std::max(width, page.style == PageStyle::Dump
                                ? m_margin + kDumpLineChars * m_charWidth
                                : m_columnX[3] + m_boldMetrics.horizontalAdvance(kLeftValueReserve));
    const int lines = static_cast<int>(m_texts.size());
    m_contentSize = QSize(width + m_margin, lines * m_lineHeight + 2 * m_margin);
}

void CDetailPainter::LayOutGrid()
{
    auto widest = [&](std::size_t cell, bool onlyBesideRightColumn) {
        int width = 0;
        for (const auto& texts : m_texts) {
            if (onlyBesideRightColumn && texts[2].isEmpty() && texts[3].isEmpty())
                continue;
            width = std::max(width, TextWidth(cell, texts[cell]));
        }
        return width;
    };
    const int gap = 2 * m_charWidth;
    m_columnX[0] = m_margin;
    m_columnX[1] = m_columnX[0] + widest(0, false) + gap;
    // Lines without a right column (modulation parameters, data) may run on
    // to the right; the others keep their values clear of the right labels.
    m_columnX[2] =
        m_columnX[1] + std::max(m_boldMetrics.horizontalAdvance(kLeftValueReserve), widest(1, true)) + 2 * gap;
    m_columnX[3] = m_columnX[2] + widest(2, false) + gap;
}

void CDetailPainter::LayOutDump() { m_columnX = {m_margin, m_margin + kDumpOffsetChars * m_charWidth, 0, 0}; }

bool CDetailPainter::IsBold(std::size_t cell) const
{
    // Grids: labels plain, values bold. Dumps: offsets bold, bytes plain.
    return m_page.style == PageStyle::Dump ? cell == PageCell::Offset : cell % 2 == 1;
}

int CDetailPainter::TextWidth(std::size_t cell, const QString& text) const
{
    return text.isEmpty() ? 0 : (IsBold(cell) ? m_boldMetrics : m_plainMetrics).horizontalAdvance(text);
}

int CDetailPainter::LineTop(std::size_t line) const { return m_margin + static_cast<int>(line) * m_lineHeight; }

void CDetailPainter::Draw(QPainter& painter, const QRect& exposed) const
{
    if (m_texts.empty())
        return;
    const int firstTop = std::max(0, exposed.top() - m_margin);
    const std::size_t first = static_cast<std::size_t>(firstTop / m_lineHeight);
    const std::size_t last = static_cast<std::size_t>(std::max(0, exposed.bottom() - m_margin) / m_lineHeight);
    if (first >= m_texts.size())
        return;
    const std::size_t end = std::min(last + 1, m_texts.size());
    DrawLines(painter, first, end - first, LineTop(first));
}

void CDetailPainter::DrawLines(QPainter& painter, std::size_t first, std::size_t count, int top) const
{
    const std::size_t end = std::min(m_texts.size(), first + count);
    for (std::size_t cell = 0; cell < m_columnX.size(); ++cell) {
        painter.setFont(IsBold(cell) ? m_bold : m_plain);
        int baseline = top + m_ascent;
        for (std::size_t line = first; line < end; ++line, baseline += m_lineHeight)
            if (!m_texts[line][cell].isEmpty())
                painter.drawText(QPoint(m_columnX[cell], baseline), m_texts[line][cell]);
    }
}
