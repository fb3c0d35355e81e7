// The drawing surface inside a detail view's scroll area: as large as the
// page it shows, painting only the lines that were exposed.
#pragma once

#include "DetailPage.h"

#include <QWidget>

class CDetailCanvas : public QWidget {
    Q_OBJECT
public:
    explicit CDetailCanvas(QWidget* parent = nullptr);

    const DetailPage& Page() const { return m_page; }
    // Takes a new page, resizes to it and repaints. GUI thread only.
    void SetPage(DetailPage page);

    // The scroll steps of the page's metrics: a character and a line.
    int CharWidth() const { return m_charWidth; }
    int LineHeight() const { return m_lineHeight; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DetailPage m_page;
    int m_charWidth = 1;
    int m_lineHeight = 1;
};
