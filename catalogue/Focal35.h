// SPDX-License-Identifier: MIT
// The 35 mm-equivalent focal length of every photo: the photo's own tag where it has one,
// else its focal length times a crop factor, learnt from the same camera's tagged photos
// or worked out from the size of its sensor.
#pragma once

#include <string>
#include <unordered_map>

#include "catalogue/PhotoCatalogue.h"

// The crop factor the focal plane resolution gives, or 0 when it cannot be worked out.
// The sensor's width in millimetres is width / xResolution resolution units; with the
// height and the vertical resolution as well, its diagonal is set against the 35 mm
// frame's (36 x 24 mm, 43.27 mm), else its width against 36 mm. A 3:2 sensor gives the
// same factor both ways; a 4:3 sensor's diagonal gives the one cameras write themselves.
double FocalPlaneCrop(const PhotoExtras& extras);

// The median of the ratios 35 mm focal length / focal length over each camera's photos
// that give both, by camera name; the mean of the middle two for an even count. Looks at
// count records from first on.
std::unordered_map<std::string, double> LearnCameraRatios(const PhotoRecord* first, int count);

// The 35 mm value of record, and how it was found: its tag (focal35), else focal length x
// its camera's learnt ratio, else focal length x the focal plane crop, else none.
void SetFocal35(PhotoRecord& record, const std::unordered_map<std::string, double>& ratios);

// Learns the ratios over the whole catalogue, then sets every record's 35 mm value.
void LearnFocal35(PhotoCatalogue& catalogue);
