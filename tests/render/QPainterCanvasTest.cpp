// SPDX-License-Identifier: MIT
// The page canvas on a real Qt paint device: scale, placement of texts, fills and fonts.
#include "render/QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <cmath>
#include <gtest/gtest.h>

namespace dirscribe {
namespace {

// 200 dpi: one unit of 0.01 inch is two pixels.
constexpr int kDpi = 200;

QImage Page() {
    QImage image(600, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(kDpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

bool Dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// The smallest rectangle holding every dark pixel; empty when there is none.
QRect Ink(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Dark(image, x, y))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

TEST(QPainterCanvas, MapsHundredthsOfAnInchToDevicePixels) {
    QImage image = Page();
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.Line({10, 20}, {60, 20}, kDefaultPen);
        canvas.RoundRectangle({100, 100}, {200, 150}, 40, 40, Pen{1, kBlack}, Color{140, 140, 140});
    }
    EXPECT_TRUE(Dark(image, 70, 40));
    EXPECT_FALSE(Dark(image, 70, 36));
    EXPECT_FALSE(Dark(image, 130, 40));
    EXPECT_EQ(image.pixelColor(300, 250), QColor(140, 140, 140));
    EXPECT_EQ(image.pixelColor(190, 250), QColor(Qt::white)) << "left of the box";
    EXPECT_EQ(image.pixelColor(300, 310), QColor(Qt::white)) << "below the box";
}

QRect TextInk(std::string_view text, int room) {
    QImage image = Page();
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter);
        canvas.Text({10, 100}, text, {"Arial", 20, 0, 400}, room);
    }
    return Ink(image);
}

TEST(QPainterCanvas, PlacesTextByTheTopLeftOfItsCellAndCutsItToItsRoom) {
    const QRect ink = TextInk("HHHH", 100);
    ASSERT_FALSE(ink.isEmpty());
    // The cell runs from y = 200 to 240 pixels; capitals stand in it, below its top.
    EXPECT_GE(ink.top(), 200);
    EXPECT_LT(ink.top(), 215);
    EXPECT_LE(ink.bottom(), 240);
    EXPECT_GE(ink.left(), 20);
    EXPECT_LT(ink.left(), 30);

    // Room for 1 inch from x = 10 ends at pixel 220; the whole text would run far past it.
    const std::string longText(40, 'H');
    EXPECT_GT(TextInk(longText, 1000).right(), 400);
    const QRect cut = TextInk(longText, 100);
    EXPECT_LE(cut.right(), 220);
    EXPECT_GT(cut.right(), 180) << "the cut text fills its room";
}

TEST(QPainterCanvas, AverageWidthRequestsStretchTheFont) {
    const auto inkWidth = [](int width) {
        QImage image = Page();
        {
            QPainter painter(&image);
            QPainterCanvas canvas(painter);
            canvas.Text({10, 10}, "xxxxxxxxxx", {"Arial", 16, width, 400}, 1000);
        }
        return Ink(image).width();
    };
    const double ratio = static_cast<double>(inkWidth(12)) / inkWidth(6);
    EXPECT_GT(ratio, 1.7);
    EXPECT_LT(ratio, 2.3);

    QImage image = Page();
    QPainter painter(&image);
    const QPainterCanvas canvas(painter);
    EXPECT_TRUE(canvas.CanMakeFont({"Arial", 10, 0, 400}));
    EXPECT_FALSE(canvas.CanMakeFont({"Arial", 0, 0, 400}));
}

} // namespace
} // namespace dirscribe
