#include "Fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace pevrand
{
namespace
{

QFont::StyleHint Hint(GenericFamily generic)
{
    return generic == GenericFamily::Serif ? QFont::Serif : QFont::SansSerif;
}

QString Shown(std::string_view caption)
{
    return QString::fromStdString(ShownCaption(caption));
}

} // namespace

QStringList DesignFamilies(std::string_view family)
{
    const FaceFamilies *known = FindFaceFamilies(family);
    if (!known)
        return {QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()))};
    QStringList families;
    for (std::string_view name : known->Families)
        if (!name.empty())
            families << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    return families;
}

QFont DesignFont(const FontDesign &face)
{
    QFont font;
    font.setFamilies(DesignFamilies(face.Family));
    const FaceFamilies *known = FindFaceFamilies(face.Family);
    font.setStyleHint(known ? Hint(known->Generic) : QFont::AnyStyle);
    font.setPointSizeF(face.Family.empty() ? DialogPoints : face.Points);
    font.setItalic(face.Italic);
    return font;
}

CaptionChrome StyleChrome(const QStyle &style, const QFont &font)
{
    const QFontMetrics metrics(font);
    const QRect box(0, 0, 200, 100);
    CaptionChrome chrome;

    QStyleOptionButton option;
    option.rect = box;
    option.fontMetrics = metrics;
    option.direction = Qt::LeftToRight;
    chrome.OptionWidth =
        box.width() - style.subElementRect(QStyle::SE_RadioButtonContents, &option).width();

    QStyleOptionButton button = option;
    button.features = QStyleOptionButton::AutoDefaultButton;
    const QRect contents = style.subElementRect(QStyle::SE_PushButtonContents, &button);
    chrome.ButtonWidth = box.width() - contents.width();
    chrome.ButtonHeight = box.height() - contents.height();

    // The title's rect less the text is the inset on its one side; the other side gets as much.
    QStyleOptionGroupBox frame;
    frame.rect = box;
    frame.fontMetrics = metrics;
    frame.direction = Qt::LeftToRight;
    frame.text = QStringLiteral("M");
    frame.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect title =
        style.subControlRect(QStyle::CC_GroupBox, &frame, QStyle::SC_GroupBoxLabel, nullptr);
    const int inset = title.left() + title.width() - metrics.horizontalAdvance(frame.text);
    chrome.FrameWidth = 2 * std::max(inset, title.left());
    return chrome;
}

bool CaptionFits(const CaptionRoom &room, const QFont &font)
{
    if (room.Width <= 0 || room.Height <= 0)
        return false;
    const QFontMetrics metrics(font);
    const QString text = Shown(room.Control->Caption);
    if (!room.Wraps)
        return metrics.horizontalAdvance(text) <= room.Width && metrics.height() <= room.Height;
    // A word longer than the room sticks out to the right rather than break.
    const QRect need = metrics.boundingRect(QRect(0, 0, room.Width, 1 << 20),
                                            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    return need.width() <= room.Width && need.height() <= room.Height;
}

QFont FittingFont(const WindowDesign &window, const FontDesign &face, const QStyle &style)
{
    QFont font = DesignFont(face);
    // The window was drawn for the design's faces and their metric twins: with one of them at
    // hand the designed size fits, and measuring every caption would only slow the start.
    if (DesignFamilies(face.Family).contains(QFontInfo(font).family()))
        return font;
    const auto fits = [&](double points) {
        font.setPointSizeF(points);
        const std::vector<CaptionRoom> rooms = CaptionRooms(window, face, StyleChrome(style, font));
        return std::all_of(rooms.begin(), rooms.end(),
                           [&](const CaptionRoom &room) { return CaptionFits(room, font); });
    };
    font.setPointSizeF(LargestFittingPoints(font.pointSizeF(), SmallestCaptionPoints, 0.25, fits));
    return font;
}

} // namespace pevrand
