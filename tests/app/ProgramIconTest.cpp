// SPDX-License-Identifier: MIT
#include "app/ProgramIcon.h"
#include "app/CMainDialog.h"

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QSize>

#include <tuple>

#include <gtest/gtest.h>

// Every size of the icon is its own picture, not a scaled neighbour: each row names one pixel
// that only the right picture has there.
TEST(ProgramIcon, EverySizeIsItsOwnPictureAndTheWindowGetsThemAll)
{
    const std::tuple<int, QPoint, QRgb> rows[] = {
        // size, pixel, its colour
        { 16, { 10, 5 }, 0xffffffff }, // the glint on the lens
        { 16, { 0, 7 }, 0xff000000 }, // the frame's left edge
        { 32, { 16, 9 }, 0xffffffff }, // the glint
        { 32, { 1, 10 }, 0xff000000 },
        { 48, { 4, 24 }, 0xff000000 }, // the frame's edge, 3 pixels wide
        { 64, { 6, 32 }, 0xff000000 },
        { 128, { 12, 64 }, 0xff000000 },
        { 256, { 24, 128 }, 0xff000000 },
    };
    const QIcon icon = ProgramIcon();
    const QList<QSize> sizes { { 16, 16 }, { 32, 32 }, { 48, 48 }, { 64, 64 }, { 128, 128 },
        { 256, 256 } };
    EXPECT_EQ(icon.availableSizes(), sizes);
    for (const auto& [size, at, colour] : rows) {
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.pixel(0, 0), 0u) << size << ": a transparent corner";
        EXPECT_EQ(image.pixel(at), colour) << size << " at " << at.x() << ", " << at.y();
    }
    EXPECT_EQ(ProgramIconPixmap(16).toImage(), icon.pixmap(QSize(16, 16)).toImage());

    // The window hands every size to the desktop; the icon at its top left is the 32 pixel one.
    CMainDialog dialog;
    EXPECT_EQ(dialog.windowIcon().availableSizes(), sizes);
    const auto* shown = qobject_cast<QLabel*>(dialog.childAt(27, 24));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->pixmap().toImage().size(), QSize(32, 32));
    EXPECT_EQ(shown->pixmap().toImage().pixel(16, 9), 0xffffffffu);
}
