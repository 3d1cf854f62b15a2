#include "DialogFont.h"

namespace pevrand
{

QFont DialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8);
    return font;
}

} // namespace pevrand
