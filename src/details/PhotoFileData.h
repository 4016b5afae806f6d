// SPDX-License-Identifier: MIT
// File Data of photos through Exiv2: size, camera, date taken and exposure.
#pragma once

#include "core/details/FileData.h"

#include <string>

namespace dirscribe {

// The size in pixels and, from the Exif data, the camera's make and model, the date taken,
// the exposure time, aperture, ISO speed, focal length and orientation of the image at path
// (JPEG, PNG, TIFF and the raw formats on it, WebP, HEIC and AVIF as Exiv2 reads them).
// Summary "Photo:"; nothing when Exiv2 does not take the file for an image.
FileData ReadPhotoFileData(const std::string& path);

} // namespace dirscribe
