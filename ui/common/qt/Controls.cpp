#include "Controls.h"

#include <QLabel>
#include <QPushButton>

namespace pevrand
{

QRect Pixels(TwipsRect box)
{
    return {TwipsToPixels(box.Left), TwipsToPixels(box.Top), TwipsToPixels(box.Width),
            TwipsToPixels(box.Height)};
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, TwipsRect box, bool wrap)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(Pixels(box));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(wrap);
    return label;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, TwipsRect box,
                        const char *toolTip)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(Pixels(box));
    if (toolTip)
        button->setToolTip(QString::fromLatin1(toolTip));
    return button;
}

} // namespace pevrand
