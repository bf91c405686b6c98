// SPDX-License-Identifier: MIT
#include "catalogue/Focal35.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Millimetres per FocalPlaneResolutionUnit; 0 for a unit the standard does not define.
double MillimetresPerUnit(std::uint16_t unit)
{
    switch (unit) {
    case 0: // not given: the standard's default
    case 2:
        return 25.4;
    case 3:
        return 10;
    case 4:
        return 1;
    case 5:
        return 0.001;
    default:
        return 0;
    }
}

constexpr double kFrameWidth = 36; // mm, the 35 mm frame
constexpr double kFrameDiagonal = 43.266615305567875; // mm, sqrt(36^2 + 24^2)

} // namespace

double FocalPlaneCrop(const PhotoExtras& extras)
{
    const double unit = MillimetresPerUnit(extras.focalPlaneUnit);
    if (unit == 0 || !(extras.focalPlaneXResolution > 0) || extras.pixelWidth == 0)
        return 0;
    const double width = extras.pixelWidth / extras.focalPlaneXResolution * unit;
    double crop = kFrameWidth / width;
    if (extras.focalPlaneYResolution > 0 && extras.pixelHeight != 0) {
        const double height = extras.pixelHeight / extras.focalPlaneYResolution * unit;
        crop = kFrameDiagonal / std::hypot(width, height);
    }
    // A sensor larger than 8 x 10 inches or smaller than 1 mm is a misread tag.
    if (!std::isfinite(crop) || crop < 0.1 || crop > 50)
        return 0;
    return crop;
}

std::unordered_map<std::string, double> LearnCameraRatios(const PhotoRecord* first, int count)
{
    std::unordered_map<const std::string*, std::vector<double>> ratios;
    for (const PhotoRecord* r = first; r && count > 0; r = r->next.get(), --count) {
        if (r->focal35 > 0 && r->focalLength > 0)
            ratios[&r->camera.str()].push_back(r->focal35 / r->focalLength);
    }
    std::unordered_map<std::string, double> medians;
    for (auto& [camera, list] : ratios) {
        const std::size_t middle = list.size() / 2;
        std::nth_element(list.begin(), list.begin() + middle, list.end());
        double median = list[middle];
        if (list.size() % 2 == 0)
            median = (median + *std::max_element(list.begin(), list.begin() + middle)) / 2;
        medians.emplace(*camera, median);
    }
    return medians;
}

void SetFocal35(PhotoRecord& record, const std::unordered_map<std::string, double>& ratios)
{
    PhotoExtras& extras = record.extras;
    extras.focal35 = 0;
    extras.focal35Source = Focal35Source::None;
    if (record.focal35 > 0) {
        extras.focal35 = record.focal35;
        extras.focal35Source = Focal35Source::Tag;
        return;
    }
    if (!(record.focalLength > 0))
        return;
    const auto learnt = ratios.find(record.camera.str());
    if (learnt != ratios.end()) {
        extras.focal35 = std::round(record.focalLength * learnt->second);
        extras.focal35Source = Focal35Source::CameraRatio;
        return;
    }
    const double crop = FocalPlaneCrop(extras);
    if (crop > 0) {
        extras.focal35 = std::round(record.focalLength * crop);
        extras.focal35Source = Focal35Source::FocalPlane;
    }
}

void LearnFocal35(PhotoCatalogue& catalogue)
{
    PhotoRecord* const first = catalogue.head.get();
    const auto ratios = LearnCameraRatios(first, catalogue.recordCount);
    int left = catalogue.recordCount; // the spare record after the counted ones stays as is
    for (PhotoRecord* r = first; r && left > 0; r = r->next.get(), --left)
        SetFocal35(*r, ratios);
}
