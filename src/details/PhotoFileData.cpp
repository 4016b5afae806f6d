// SPDX-License-Identifier: MIT
// File Data of photos through Exiv2: size, camera, date taken and exposure.
#include "details/PhotoFileData.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <optional>

namespace dirscribe {

namespace {

// Exif orientation 1-8: how the stored picture is turned to be seen upright.
constexpr std::array<const char*, 9> kOrientations = {
    "",
    "Normal",
    "Mirrored",
    "Rotated 180\u00B0",
    "Mirrored and rotated 180\u00B0",
    "Mirrored and rotated 90\u00B0 counter-clockwise",
    "Rotated 90\u00B0 clockwise",
    "Mirrored and rotated 90\u00B0 clockwise",
    "Rotated 90\u00B0 counter-clockwise",
};

const Exiv2::Exifdatum* Find(const Exiv2::ExifData& exif, const char* key) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found == exif.end() ? nullptr : &*found;
}

std::string Text(const Exiv2::ExifData& exif, const char* key) {
    const Exiv2::Exifdatum* datum = Find(exif, key);
    return datum == nullptr ? std::string() : datum->toString();
}

// A rational value as a decimal, or nothing when the tag is missing or divides by zero.
std::optional<double> Number(const Exiv2::ExifData& exif, const char* key) {
    const Exiv2::Exifdatum* datum = Find(exif, key);
    if (datum == nullptr || datum->count() == 0)
        return std::nullopt;
    const Exiv2::Rational r = datum->toRational(0);
    if (r.second == 0)
        return std::nullopt;
    return static_cast<double>(r.first) / r.second;
}

std::string Format(const char* format, double value) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return text.data();
}

// "1/250 s" below a second, "2.5 s" from one on.
std::string ExposureText(double seconds) {
    if (seconds <= 0)
        return {};
    if (seconds < 1)
        return "1/" + Format("%.0f", 1 / seconds) + " s";
    return Format("%g", seconds) + " s";
}

void AddExif(FileData& data, const Exiv2::ExifData& exif) {
    data.Add("**Make:", Text(exif, "Exif.Image.Make"));
    data.Add("**Model:", Text(exif, "Exif.Image.Model"));
    std::string taken = Text(exif, "Exif.Photo.DateTimeOriginal");
    if (taken.empty())
        taken = Text(exif, "Exif.Photo.DateTimeDigitized");
    data.Add("**Date taken:", taken);
    if (const auto exposure = Number(exif, "Exif.Photo.ExposureTime"))
        data.Add("**Exposure:", ExposureText(*exposure));
    if (const auto aperture = Number(exif, "Exif.Photo.FNumber"); aperture && *aperture > 0)
        data.Add("**Aperture:", Format("f/%.1f", *aperture));
    data.Add("**ISO:", Text(exif, "Exif.Photo.ISOSpeedRatings"));
    if (const auto focal = Number(exif, "Exif.Photo.FocalLength"); focal && *focal > 0)
        data.Add("**Focal length:", Format("%g mm", std::round(*focal * 10) / 10));
    if (const Exiv2::Exifdatum* orientation = Find(exif, "Exif.Image.Orientation");
        orientation != nullptr && orientation->count() > 0) {
        const long value = orientation->toLong(0);
        if (value >= 1 && value <= 8)
            data.Add("**Orientation:", kOrientations[static_cast<std::size_t>(value)]);
    }
}

} // namespace

FileData ReadPhotoFileData(const std::string& path) {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::enableBMFF(true);
    try {
        // Exiv2 reads a name such as "http://..." or "-" from elsewhere; an absolute path
        // is always a file.
        std::error_code error;
        const std::filesystem::path file = std::filesystem::absolute(path, error);
        if (error)
            return {};
        auto image = Exiv2::ImageFactory::open(file.string(), false);
        if (image.get() == nullptr)
            return {};
        image->readMetadata();
        FileData data;
        data.summary = "Photo:";
        const int width = image->pixelWidth();
        const int height = image->pixelHeight();
        if (width > 0 && height > 0)
            data.Add("**Size:", std::to_string(width) + " x " + std::to_string(height));
        AddExif(data, image->exifData());
        return data;
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace dirscribe
