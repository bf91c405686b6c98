// SPDX-License-Identifier: MIT
#include "app/ProgramIcon.h"

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// Outside any namespace: Q_INIT_RESOURCE declares the resource initialiser at block scope.
static int InitResources()
{
    // The resources live in a static library, whose initialiser the linker would drop.
    Q_INIT_RESOURCE(fotolot);
    return 0;
}

static void EnsureResources()
{
    static const int loaded = InitResources();
    (void)loaded;
}

namespace {
constexpr int kIconSizes[] = { 16, 32, 48, 64, 128, 256 };

QString IconPath(int size)
{
    return QStringLiteral(":/fotolot/fotolot-%1.png").arg(size);
}
} // namespace

QPixmap ProgramIconPixmap(int size)
{
    EnsureResources();
    return QPixmap(IconPath(size <= 16 ? 16 : 32));
}

QIcon ProgramIcon()
{
    EnsureResources();
    QIcon icon;
    for (const int size : kIconSizes)
        icon.addFile(IconPath(size), QSize(size, size));
    return icon;
}
