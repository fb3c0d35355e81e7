#include "CQuorlexIcons.h"

#include "QuorlexCommands.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kSize = 32;   // drawn large, scaled down by the toolbar

template <typename Draw>
QIcon Drawn(Draw draw)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

// Three sliders: settings.
QIcon DrawPreferences()
{
    return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(80, 80, 80), 3, Qt::SolidLine, Qt::RoundCap));
        const int knobs[3] = {20, 10, 16};
        for (int i = 0; i < 3; ++i) {
            const int y = 7 + i * 9;
            p.drawLine(4, y, 28, y);
            p.setBrush(QColor(70, 120, 200));
            p.drawEllipse(QPointF(knobs[i], y), 3.5, 3.5);
        }
    });
}

// A page with lines: the detail window of a radio.
QIcon DrawDetails()
{
    return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 2));
        p.setBrush(Qt::white);
        p.drawRect(6, 3, 20, 26);
        p.setPen(QPen(QColor(70, 120, 200), 2));
        for (int y = 9; y <= 23; y += 5)
            p.drawLine(10, y, 22, y);
    });
}

// Hexadecimal digits: the raw bytes.
QIcon DrawRawData()
{
    return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 2));
        p.setBrush(Qt::white);
        p.drawRect(3, 5, 26, 22);
        QFont font("monospace");
        font.setStyleHint(QFont::Monospace);
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(40, 40, 40));
        p.drawText(QRect(3, 5, 26, 11), Qt::AlignCenter, "0F");
        p.drawText(QRect(3, 15, 26, 11), Qt::AlignCenter, "A3");
    });
}

// A red record dot: capture to a log file.
QIcon DrawStartLogging()
{
    return Drawn([](QPainter& p) {
        p.setPen(QPen(QColor(120, 0, 0), 2));
        p.setBrush(QColor(210, 30, 30));
        p.drawEllipse(QPointF(16, 16), 10, 10);
    });
}

// A question mark in a circle.
QIcon DrawAbout()
{
    return Drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 100, 190));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        QFont font;
        font.setPixelSize(20);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, "?");
    });
}

}   // namespace

QIcon CQuorlexIcons::Application()
{
    return Drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 60, 110));
        p.drawRoundedRect(1, 1, 30, 30, 6, 6);
        p.setPen(QPen(QColor(235, 235, 235), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 14), QPointF(11, 28));
        p.drawLine(QPointF(16, 14), QPointF(21, 28));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(120, 200, 255), 2, Qt::SolidLine, Qt::RoundCap));
        for (int r : {5, 9}) {
            p.drawArc(QRectF(16 - r, 12 - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 210, 80));
        p.drawEllipse(QPointF(16, 12), 2.5, 2.5);
    });
}

QIcon CQuorlexIcons::ForCommand(int commandId)
{
    switch (commandId) {
    case QuorlexCommand::EditPreferences:
        return QIcon::fromTheme("preferences-system", DrawPreferences());
    case QuorlexCommand::ViewDetails:
        return QIcon::fromTheme("document-properties", DrawDetails());
    case QuorlexCommand::ViewRawData:
        return DrawRawData();
    case QuorlexCommand::LogStartLogging:
        return QIcon::fromTheme("media-record", DrawStartLogging());
    case QuorlexCommand::AppAbout:
        return QIcon::fromTheme("help-about", DrawAbout());
    default:
        return {};
    }
}
