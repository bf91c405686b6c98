// SPDX-License-Identifier: MIT
// Identifiers of the main window's controls and commands.
#pragma once

enum ControlId : int {
    IdOk = 1,
    IdCancel = 2, // the Exit button
    IdResultsList = 1000,
    IdApertureMin = 1002,
    IdIsoMin = 1003,
    IdShutterMin = 1004,
    IdFocalMinEdit = 1005,
    IdFocalMinSpin = 1006,
    IdApertureMax = 1007,
    IdIsoMax = 1008,
    IdShutterMax = 1009,
    IdFocalMaxEdit = 1010,
    IdFocalMaxSpin = 1011,
    IdQuery = 1012,
    IdOpen = 1013,
    IdShow = 1014,
    IdMatches = 1015,
    IdChart = 1016,
    IdApertureHeading = 1020,
    IdIsoHeading = 1021,
    IdShutterHeading = 1022,
    IdFocalHeading = 1023,
    IdMinHeading = 1024,
    IdMaxHeading = 1025,
    IdShowHeading = 1026,
    IdMatchesHeading = 1027,
    IdLink = 1028,
    IdVersionLabel = 1029,
    IdNoticeLabel = 1030,
    IdScreenshot = 1031,
};
