#include "WindowColours.h"

#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QStyleOptionGroupBox>
#include <QWidget>
#include <qdrawutil.h>

namespace pevrand
{
namespace
{

constexpr QPalette::ColorGroup Groups[] = {QPalette::Active, QPalette::Inactive,
                                           QPalette::Disabled};

// The desktop's style, but a frame is a plain etched line, a grey line with a white one inside
// it, through the middle of its title, with nothing laid over the window's colour within.
// Styles that shade a frame's inside would tint the window's fixed background.
class EtchedFrames final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override
    {
        const auto *frame = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        if (control != CC_GroupBox || !frame) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect line = frame->rect.adjusted(0, frame->fontMetrics.height() / 2, 0, 0);
        qDrawShadeRect(painter, line, frame->palette, true, 1, 0);
        if (frame->text.isEmpty())
            return;
        const QRect title = subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);
        painter->fillRect(title, frame->palette.window());
        drawItemText(painter, title, Qt::AlignCenter | Qt::TextShowMnemonic, frame->palette,
                     frame->state.testFlag(State_Enabled), frame->text, QPalette::WindowText);
    }

    // The title sits on the top line, a little in from the left, with a gap either side.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override
    {
        const auto *frame = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        if (control != CC_GroupBox || part != SC_GroupBoxLabel || !frame)
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QFontMetrics &metrics = frame->fontMetrics;
        const QSize text = metrics.size(Qt::TextShowMnemonic, frame->text);
        return QRect(frame->rect.left() + TitleIndent, frame->rect.top(),
                     text.width() + 2 * TitleGap, text.height());
    }

private:
    static constexpr int TitleIndent = 6;
    static constexpr int TitleGap = 2;
};

} // namespace

QPalette FixedPalette(const QColor &background)
{
    const QColor black(0, 0, 0), white(255, 255, 255), grey(128, 128, 128);
    QPalette palette(black, background, white, grey, QColor(160, 160, 160), black, white, white,
                     background);
    for (const QPalette::ColorGroup group : Groups) {
        palette.setColor(group, QPalette::Midlight, QColor(227, 227, 227));
        palette.setColor(group, QPalette::Shadow, QColor(105, 105, 105));
        palette.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        palette.setColor(group, QPalette::HighlightedText, white);
        palette.setColor(group, QPalette::ButtonText, black);
        palette.setColor(group, QPalette::PlaceholderText, grey);
        palette.setColor(group, QPalette::AlternateBase, background);
    }
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    return palette;
}

void FixWindowColours(QWidget *window, const QColor &background)
{
    window->setPalette(FixedPalette(background));
    const QList<QGroupBox *> frames = window->findChildren<QGroupBox *>();
    if (frames.isEmpty())
        return;
    // One style for the window's frames, owned by the window: the style by key, since a proxy
    // takes ownership of the style it wraps and the application's must stay where it is.
    auto *style = new EtchedFrames(QApplication::style()->name());
    style->setParent(window);
    for (QGroupBox *frame : frames)
        frame->setStyle(style);
}

void KeepSystemColours(QWidget *widget)
{
    const QPalette system = QApplication::palette(widget);
    QPalette palette = system;
    for (const QPalette::ColorGroup group : Groups)
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            if (role != QPalette::NoRole) {
                const auto colourRole = static_cast<QPalette::ColorRole>(role);
                palette.setBrush(group, colourRole, system.brush(group, colourRole));
            }
    widget->setPalette(palette);
}

} // namespace pevrand
