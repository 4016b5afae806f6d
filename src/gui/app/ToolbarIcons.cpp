// SPDX-License-Identifier: MIT
#include "gui/app/ToolbarIcons.h"

#include "gui/app/Commands.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace dirscribe {

using namespace command;

namespace {

// Pictures are drawn on a 32-unit square and scaled to each size the toolbar asks for.
constexpr int kGrid = 32;
const QColor kInk(40, 60, 110);
const QColor kPaper(250, 250, 245);
const QColor kAccent(200, 70, 40);

using Drawing = std::function<void(QPainter&)>;

QIcon Paint(const Drawing& draw) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / double(kGrid), size / double(kGrid));
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void Label(QPainter& painter, const QRectF& box, const QString& text, int pixelSize,
           const QColor& colour = kInk) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, text);
}

void Sheet(QPainter& painter, const QRectF& box) {
    painter.setPen(QPen(kInk, 1.5));
    painter.setBrush(kPaper);
    painter.drawRect(box);
}

// A letter page with a few ruled lines and a word on it.
Drawing Page(const QString& word) {
    return [word](QPainter& painter) {
        Sheet(painter, QRectF(6, 2, 20, 28));
        Label(painter, QRectF(6, 4, 20, 24), word, 7);
    };
}

// A disk case insert: a square with a hole, and its name.
Drawing Disk(const QString& word, double size) {
    return [word, size](QPainter& painter) {
        const double margin = (kGrid - size) / 2;
        painter.setPen(QPen(kInk, 1.5));
        painter.setBrush(kPaper);
        painter.drawRoundedRect(QRectF(margin, margin, size, size), 3, 3);
        Label(painter, QRectF(margin, margin, size, size), word, word.size() > 2 ? 9 : 12);
    };
}

// A column toggle: a little table with the column's letter in a badge.
Drawing Column(const QString& letter) {
    return [letter](QPainter& painter) {
        Sheet(painter, QRectF(2, 4, 28, 24));
        painter.setPen(QPen(kInk, 1));
        for (int y = 11; y < 28; y += 5)
            painter.drawLine(QPointF(2, y), QPointF(30, y));
        painter.setPen(Qt::NoPen);
        painter.setBrush(kAccent);
        painter.drawEllipse(QRectF(14, 12, 16, 16));
        Label(painter, QRectF(14, 12, 16, 16), letter, 11, Qt::white);
    };
}

void FontSize(QPainter& painter) {
    Label(painter, QRectF(0, 6, 16, 24), QStringLiteral("A"), 14);
    Label(painter, QRectF(12, 0, 20, 30), QStringLiteral("A"), 24, kAccent);
}

void Folder(QPainter& painter) {
    painter.setPen(QPen(kInk, 1.5));
    painter.setBrush(QColor(240, 200, 90));
    QPainterPath path;
    path.moveTo(3, 9);
    path.lineTo(12, 9);
    path.lineTo(15, 12);
    path.lineTo(29, 12);
    path.lineTo(29, 27);
    path.lineTo(3, 27);
    path.closeSubpath();
    painter.drawPath(path);
}

void Open(QPainter& painter) {
    Folder(painter);
    painter.setPen(QPen(kAccent, 2.5));
    painter.drawLine(QPointF(16, 24), QPointF(16, 4));
    painter.drawLine(QPointF(10, 10), QPointF(16, 4));
    painter.drawLine(QPointF(22, 10), QPointF(16, 4));
}

void Save(QPainter& painter) {
    painter.setPen(QPen(kInk, 1.5));
    painter.setBrush(QColor(90, 120, 190));
    painter.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(9, 4, 14, 9));
    painter.drawRect(QRectF(8, 18, 16, 10));
}

void Print(QPainter& painter) {
    Sheet(painter, QRectF(9, 3, 14, 10));
    painter.setBrush(QColor(180, 185, 195));
    painter.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    Sheet(painter, QRectF(9, 20, 14, 9));
}

void Refresh(QPainter& painter) {
    painter.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 300 * 16);
    painter.setBrush(kInk);
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygonF({QPointF(22, 3), QPointF(29, 11), QPointF(20, 12)}));
}

void Tree(QPainter& painter) {
    painter.setPen(QPen(kInk, 1.5));
    painter.drawLine(QPointF(8, 8), QPointF(8, 26));
    painter.drawLine(QPointF(8, 16), QPointF(16, 16));
    painter.drawLine(QPointF(8, 26), QPointF(16, 26));
    painter.setBrush(QColor(240, 200, 90));
    painter.drawRect(QRectF(3, 3, 10, 7));
    painter.drawRect(QRectF(16, 13, 12, 7));
    painter.drawRect(QRectF(16, 23, 12, 7));
}

void Listing(QPainter& painter) {
    Sheet(painter, QRectF(4, 3, 24, 26));
    painter.setPen(QPen(kInk, 1.5));
    for (int y = 9; y <= 24; y += 5)
        painter.drawLine(QPointF(8, y), QPointF(24, y));
}

void Stop(QPainter& painter) {
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(QColor(200, 30, 30));
    QPolygonF octagon;
    for (const auto& [x, y] :
         {std::pair{11, 2}, {21, 2}, {30, 11}, {30, 21}, {21, 30}, {11, 30}, {2, 21}, {2, 11}})
        octagon << QPointF(x, y);
    painter.drawPolygon(octagon);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawRect(QRectF(11, 11, 10, 10));
}

Drawing DrawingOf(int id) {
    switch (id) {
    case kPageFormat:
        return Page(QStringLiteral("PAGE"));
    case kFileData:
        return Page(QStringLiteral("FILE\nDATA"));
    case kCdFormat:
        return Disk(QStringLiteral("CD"), 28);
    case kZipFormat:
        return Disk(QStringLiteral("ZIP"), 22);
    case kAddSize:
        return Column(QStringLiteral("S"));
    case kAddDate:
        return Column(QStringLiteral("D"));
    case kAddAttributes:
        return Column(QStringLiteral("A"));
    case kAddComments:
        return Column(QStringLiteral("C"));
    case kFontSize:
        return FontSize;
    case kOpen:
        return Open;
    case kSaveAs:
        return Save;
    case kPrint:
        return Print;
    case kRefresh:
        return Refresh;
    case kBrowse:
        return Tree;
    case kFoldersListing:
        return Listing;
    case kStop:
        return Stop;
    default:
        return {};
    }
}

void Program(QPainter& painter) {
    painter.setPen(QPen(kInk, 1.5));
    painter.setBrush(kPaper);
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 4, 4);
    painter.setPen(QPen(kInk, 2));
    for (int y = 9; y <= 23; y += 7)
        painter.drawLine(QPointF(7, y), QPointF(17, y));
    painter.setPen(QPen(kAccent, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(17, 15, 10, 10));
}

} // namespace

QIcon ProgramIcon() {
    return Paint(Program);
}

QIcon ToolbarIcon(int commandId) {
    const Drawing drawing = DrawingOf(commandId);
    return drawing ? Paint(drawing) : QIcon();
}

} // namespace dirscribe
