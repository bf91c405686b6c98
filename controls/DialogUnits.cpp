// SPDX-License-Identifier: MIT
#include "controls/DialogUnits.h"

#include <QFontMetrics>
#include <QRect>

#include <cstdint>

int MulDivRound(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    std::int64_t product = std::int64_t { number } * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0) {
        divisor = -divisor;
        product = -product;
    }
    // Integer division truncates toward zero; adding half the divisor away from zero first
    // rounds halves away from zero.
    const std::int64_t rounded = product >= 0 ? product + divisor / 2 : product - divisor / 2;
    return static_cast<int>(rounded / divisor);
}

QFont DialogFont()
{
    static const bool substituted = [] {
        QFont::insertSubstitution(
            QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogBaseUnits units;
    units.cx = (letters / 26 + 1) / 2; // the width of 52 letters, halved twice with rounding
    units.cy = metrics.height();
    return units;
}

QRect DialogUnitsToPixels(const QRect& dialogUnits, DialogBaseUnits units)
{
    return QRect(MulDivRound(dialogUnits.x(), units.cx, 4),
        MulDivRound(dialogUnits.y(), units.cy, 8), MulDivRound(dialogUnits.width(), units.cx, 4),
        MulDivRound(dialogUnits.height(), units.cy, 8));
}
