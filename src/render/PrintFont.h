// SPDX-License-Identifier: MIT
// The Qt font a page drawing's font request stands for on a device.
#pragma once

#include "core/canvas/Canvas.h"

#include <QFont>
#include <QPaintDevice>

namespace dirscribe {

// Device units per 0.01 inch, by the device's logical dpi (1 for no device).
struct DeviceScale {
    qreal x = 1;
    qreal y = 1;
};

DeviceScale ScaleOf(const QPaintDevice* device);

// False only for a cell height that comes to less than one device unit.
bool CanMakePrintFont(const FontRequest& request, DeviceScale scale);

// The requested face (fontconfig substitutes a metric-compatible one, Liberation Sans for
// Arial), pixel size = cell height in device units, the weight as asked, no hinting (the
// same page on every device), and a horizontal stretch that gives the requested average
// character width. The application's default font when the request cannot be made.
QFont MakePrintFont(const FontRequest& request, const QPaintDevice* device, DeviceScale scale);

} // namespace dirscribe
