#include "CTransmitterTreeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

const QColor kOutline(50, 50, 60);
const QColor kActive(220, 40, 30);
const QColor kGroupFill(236, 200, 90);
const QColor kScreenFill(120, 170, 230);

template <typename Paint>
QIcon Drawn(Paint paint)
{
    // A second pixmap at twice the density keeps the lines sharp on high-density screens.
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(kSize * scale, kSize * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// A small red lamp in the lower right corner: something below transmits.
void ActiveLamp(QPainter& p)
{
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(kActive);
    p.drawEllipse(QPointF(12, 12), 3.5, 3.5);
}

// A globe: the whole monitor.
void PaintRoot(QPainter& p)
{
    p.setPen(QPen(QColor(20, 70, 140), 1.2));
    p.setBrush(QColor(90, 150, 220));
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 240, 255), 1));
    p.drawEllipse(QPointF(8, 8), 2.8, 6.5);
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(2.8, 4.5), QPointF(13.2, 4.5));
    p.drawLine(QPointF(2.8, 11.5), QPointF(13.2, 11.5));
}

// A network socket: where traffic comes in (a UDP port, a federation).
void PaintPort(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(70, 140, 90));
    p.drawRoundedRect(QRectF(1.5, 3.5, 13, 10), 1.5, 1.5);
    p.setBrush(QColor(30, 40, 35));
    QPainterPath opening;
    opening.moveTo(4.5, 6);
    opening.lineTo(11.5, 6);
    opening.lineTo(11.5, 10);
    opening.lineTo(9.5, 10);
    opening.lineTo(9.5, 11.5);
    opening.lineTo(6.5, 11.5);
    opening.lineTo(6.5, 10);
    opening.lineTo(4.5, 10);
    opening.closeSubpath();
    p.drawPath(opening);
}

// A folder: a group of radios.
void PaintGroup(QPainter& p)
{
    p.setPen(QPen(QColor(140, 100, 20), 1));
    p.setBrush(kGroupFill);
    QPainterPath folder;
    folder.moveTo(1.5, 4);
    folder.lineTo(6, 4);
    folder.lineTo(7.5, 5.5);
    folder.lineTo(14.5, 5.5);
    folder.lineTo(14.5, 13.5);
    folder.lineTo(1.5, 13.5);
    folder.closeSubpath();
    p.drawPath(folder);
    p.drawLine(QPointF(1.5, 7), QPointF(14.5, 7));
}

// A computer screen: a sender that is this host.
void PaintLocalSender(QPainter& p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(200, 200, 205));
    p.drawRect(QRectF(1.5, 2.5, 13, 9));
    p.setBrush(kScreenFill);
    p.drawRect(QRectF(3, 4, 10, 6));
    p.setBrush(QColor(160, 160, 165));
    p.drawRect(QRectF(5.5, 12, 5, 2.5));
}

// A hand-held radio with its antenna.
void PaintRadio(QPainter& p, bool transmitting)
{
    p.setPen(QPen(kOutline, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5.5), QPointF(5, 1));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(90, 95, 105));
    p.drawRoundedRect(QRectF(3, 5.5, 7, 9.5), 1.2, 1.2);
    p.setBrush(QColor(170, 200, 170));
    p.drawRect(QRectF(4.5, 7, 4, 2.5));
    if (transmitting) {
        // Waves leaving the antenna and a lit lamp.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kActive, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6.5, 0, 5, 5), -60 * 16, 120 * 16);
        p.drawArc(QRectF(6.5, -2, 9, 9), -50 * 16, 100 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kActive);
        p.drawEllipse(QPointF(6.5, 12), 1.3, 1.3);
    }
}

// A small page of text: one value of the radio.
void PaintQuickView(QPainter& p)
{
    p.setPen(QPen(QColor(110, 110, 120), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 2.5, 9, 11));
    p.setPen(QPen(QColor(70, 120, 200), 1));
    for (double y : {5.5, 8.0, 10.5})
        p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
}

}   // namespace

std::array<QIcon, kTreeImageCount> CTransmitterTreeIcons::Draw()
{
    return {
        Drawn(PaintRoot),
        Drawn(PaintPort),
        Drawn(PaintGroup),
        Drawn([](QPainter& p) {
            PaintGroup(p);
            ActiveLamp(p);
        }),
        Drawn(PaintLocalSender),
        Drawn([](QPainter& p) {
            PaintLocalSender(p);
            ActiveLamp(p);
        }),
        Drawn([](QPainter& p) { PaintRadio(p, false); }),
        Drawn([](QPainter& p) { PaintRadio(p, true); }),
        Drawn(PaintQuickView),
    };
}

const QIcon& CTransmitterTreeIcons::Icon(TreeImage image)
{
    static const std::array<QIcon, kTreeImageCount> icons = Draw();
    return icons[static_cast<std::size_t>(image)];
}

const char* CTransmitterTreeIcons::Name(TreeImage image)
{
    static constexpr const char* kNames[kTreeImageCount] = {
        "root",  "port",         "group",      "active group", "local sender", "local active sender",
        "radio", "active radio", "quick-view",
    };
    return kNames[static_cast<std::size_t>(image)];
}
