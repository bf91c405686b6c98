// SPDX-License-Identifier: MIT
#include "app/ProgramIcon.h"

#include <QIcon>
#include <QPixmap>

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

QPixmap ProgramIconPixmap(int size)
{
    EnsureResources();
    return QPixmap(size <= 16 ? QStringLiteral(":/fotolot/fotolot-16.xpm")
                              : QStringLiteral(":/fotolot/fotolot-32.xpm"));
}

QIcon ProgramIcon()
{
    QIcon icon;
    icon.addPixmap(ProgramIconPixmap(16));
    icon.addPixmap(ProgramIconPixmap(32));
    return icon;
}
