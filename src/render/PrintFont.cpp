// SPDX-License-Identifier: MIT
#include "render/PrintFont.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace dirscribe {

namespace {

// Units per inch of the page drawing.
constexpr qreal kUnitsPerInch = 100;
// The stretch factors Qt accepts, in percent.
constexpr int kMinStretch = 1;
constexpr int kMaxStretch = 4000;

} // namespace

DeviceScale ScaleOf(const QPaintDevice* device) {
    if (device == nullptr)
        return {};
    return {device->logicalDpiX() / kUnitsPerInch, device->logicalDpiY() / kUnitsPerInch};
}

bool CanMakePrintFont(const FontRequest& request, DeviceScale scale) {
    return std::lround(request.height * scale.y) >= 1;
}

QFont MakePrintFont(const FontRequest& request, const QPaintDevice* device, DeviceScale scale) {
    if (!CanMakePrintFont(request, scale))
        return QFont();
    QFont font(QString::fromStdString(request.face));
    font.setPixelSize(static_cast<int>(std::lround(request.height * scale.y)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(request.weight, 1, 1000)));
    font.setHintingPreference(QFont::PreferNoHinting);
    if (request.width > 0) {
        const qreal natural = QFontMetricsF(font, device).averageCharWidth();
        if (natural > 0) {
            const auto stretch =
                static_cast<int>(std::lround(100 * request.width * scale.x / natural));
            font.setStretch(std::clamp(stretch, kMinStretch, kMaxStretch));
        }
    }
    return font;
}

} // namespace dirscribe
