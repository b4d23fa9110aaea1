#include "platform/FontProperties.h"

#include <QFont>
#include <QObject>
#include <QVariant>

#include <cmath>

namespace {

constexpr char CharsetProperty[] = "fontCharset";

// a * b / c, rounded half away from zero.
int scaled(int a, int b, int c)
{
    return int(std::lround(double(a) * b / c));
}

} // namespace

int FontPointSize(const QFont &font)
{
    if (font.pixelSize() > 0)
        return scaled(font.pixelSize(), 72, 96);
    if (font.pointSizeF() > 0)
        return int(std::lround(font.pointSizeF()));
    return 0;
}

void SetFontPointSize(QFont &font, int points)
{
    const int pixels = scaled(points, 96, 72);
    if (pixels > 0)
        font.setPixelSize(pixels);
}

int FontCharset(const QObject *owner)
{
    if (!owner)
        return 0;
    bool ok = false;
    const int charset = owner->property(CharsetProperty).toInt(&ok);
    return ok ? (charset & 0xFF) : 0;
}

void SetFontCharset(QObject *owner, int charset)
{
    if (owner)
        owner->setProperty(CharsetProperty, charset & 0xFF);
}
