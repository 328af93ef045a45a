#include "app/UiFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QString Family(const QString& wanted)
{
    return QFontDatabase::families().contains(wanted) ? wanted : QStringLiteral("Noto Sans CJK JP");
}

} // namespace

QFont ProportionalFont(int pixelSize)
{
    QFont font(Family(QStringLiteral("ＭＳ Ｐゴシック")));
    font.setPixelSize(pixelSize);
    return font;
}

QFont FixedFont(int pixelSize)
{
    QFont font(Family(QStringLiteral("ＭＳ ゴシック")));
    font.setPixelSize(pixelSize);
    return font;
}

QFont ProportionalPointFont(int pointSize)
{
    return QFont(Family(QStringLiteral("ＭＳ Ｐゴシック")), pointSize);
}
