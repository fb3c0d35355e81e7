#include "CMdiLayout.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>

#include <algorithm>
#include <cmath>

void CMdiLayout::TileHorizontally(QMdiArea& area) { Tile(area, true); }
void CMdiLayout::TileVertically(QMdiArea& area) { Tile(area, false); }
void CMdiLayout::ArrangeIcons(QMdiArea& area) { PlaceIcons(area); }

int CMdiLayout::PlaceIcons(QMdiArea& area)
{
    const QRect viewport = area.viewport()->rect();
    int x = 0;
    int bottom = viewport.bottom() + 1;
    int rowHeight = 0;
    int used = 0;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized() || window->isHidden())
            continue;
        const QSize size = window->size();
        if (x > 0 && x + size.width() > viewport.width()) {
            bottom -= rowHeight;
            x = 0;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, size.height());
        window->move(x, bottom - size.height());
        x += size.width();
        used = viewport.bottom() + 1 - (bottom - rowHeight);
    }
    return used;
}

void CMdiLayout::Tile(QMdiArea& area, bool rowsFirst)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder))
        if (!window->isMinimized() && !window->isHidden())
            windows.append(window);
    const int iconHeight = PlaceIcons(area);
    if (windows.isEmpty())
        return;

    QRect space = area.viewport()->rect();
    space.setHeight(std::max(space.height() - iconHeight, 1));
    const int count = static_cast<int>(windows.size());
    // The shorter dimension of the grid gets the square root; the windows
    // that do not divide evenly go to the last lines.
    const int lines = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(count))));
    const int perLine = count / lines;
    const int longerLines = count % lines;
    int index = 0;
    for (int line = 0; line < lines; ++line) {
        const int cells = perLine + (line >= lines - longerLines ? 1 : 0);
        for (int cell = 0; cell < cells; ++cell, ++index) {
            QRect rect;
            if (rowsFirst) {   // lines are columns, cells stack downward
                const int w = space.width() / lines, h = space.height() / cells;
                rect = QRect(space.left() + line * w, space.top() + cell * h, w, h);
            } else {   // lines are rows, cells run across
                const int w = space.width() / cells, h = space.height() / lines;
                rect = QRect(space.left() + cell * w, space.top() + line * h, w, h);
            }
            QMdiSubWindow* window = windows[index];
            if (window->isMaximized())
                window->showNormal();
            window->setGeometry(rect);
        }
    }
}
