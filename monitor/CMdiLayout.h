// The Window menu's arrangements of the detail windows that QMdiArea lacks.
#pragma once

class QMdiArea;

class CMdiLayout {
public:
    // Tile Horizontally: windows one above another (more rows than columns).
    static void TileHorizontally(QMdiArea& area);
    // Tile Vertically: windows side by side (more columns than rows).
    static void TileVertically(QMdiArea& area);
    // Arrange Icons: minimised windows in rows along the bottom edge, left to right.
    static void ArrangeIcons(QMdiArea& area);

private:
    static void Tile(QMdiArea& area, bool rowsFirst);
    // Lays out the icons; returns the height they take at the bottom.
    static int PlaceIcons(QMdiArea& area);
};
