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

struct StandIns {
    std::string_view Family;
    QFont::StyleHint Hint;
    const char *Families[5];
};

// Each face, then faces drawn to the same widths (Liberation, Croscore, Comic Relief, URW's
// Nimbus), then the look-alike the desktop may have.
const StandIns Known[] = {
    {"", QFont::SansSerif, {"Liberation Sans", "Arimo", "Arial", "Helvetica", "Nimbus Sans"}},
    {"Times New Roman",
     QFont::Serif,
     {"Times New Roman", "Liberation Serif", "Tinos", "Times", "Nimbus Roman"}},
    {"Comic Sans MS", QFont::SansSerif, {"Comic Sans MS", "Comic Relief", "Comic Neue"}},
};

const StandIns *Find(std::string_view family)
{
    for (const StandIns &known : Known)
        if (known.Family == family)
            return &known;
    return nullptr;
}

QString Shown(std::string_view caption)
{
    return QString::fromStdString(ShownCaption(caption));
}

} // namespace

QStringList DesignFamilies(std::string_view family)
{
    const StandIns *known = Find(family);
    if (!known)
        return {QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()))};
    QStringList families;
    for (const char *name : known->Families)
        if (name)
            families << QString::fromLatin1(name);
    return families;
}

QFont DesignFont(const FontDesign &face)
{
    QFont font;
    font.setFamilies(DesignFamilies(face.Family));
    const StandIns *known = Find(face.Family);
    font.setStyleHint(known ? known->Hint : QFont::AnyStyle);
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
