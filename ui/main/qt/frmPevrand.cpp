#include "frmPevrand.h"

#include "OptionGroup.h"
#include "UnitOption.h"
#include "WidgetEvents.h"
#include "ui/about/qt/frmAbout.h"
#include "ui/common/qt/Controls.h"
#include "ui/common/qt/Fonts.h"
#include "ui/common/qt/Placement.h"
#include "ui/common/qt/ProgramMessage.h"
#include "ui/common/qt/WindowColours.h"
#include "ui/main/MainWindowDesign.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <string>
#include <string_view>

namespace pevrand
{
namespace
{

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A face of the window at the size at which its captions fit, whatever fonts are installed.
QFont Face(const FontDesign &face)
{
    return FittingFont(main_window::Window, face, *QApplication::style());
}

QLineEdit *MakeTextBox(QWidget *parent, const ControlDesign &design)
{
    auto *box = new QLineEdit(parent);
    box->setGeometry(Pixels(design.Box));
    KeepSystemColours(box);
    return box;
}

// Enter or Space presses a focused button, but no button is the window's default.
QPushButton *MakeCommand(QWidget *parent, const ControlDesign &design)
{
    auto *button = new QPushButton(Text(design.Caption), parent);
    button->setGeometry(Pixels(design.Box));
    button->setAutoDefault(true);
    button->setDefault(false);
    KeepSystemColours(button);
    return button;
}

// A straight line from (Left, Top) to (Left + Width, Top + Height), both ends drawn.
QFrame *MakeLine(QWidget *parent, const ControlDesign &design)
{
    const TwipsRect box = design.Box;
    auto *line = new QFrame(parent);
    line->setGeometry(Pixels({box.Left, box.Top, box.Width + main_window::OnePixel,
                              box.Height + main_window::OnePixel}));
    line->setFrameShape(box.Height == 0 ? QFrame::HLine : QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    line->setLineWidth(1);
    return line;
}

// A frame with the group of its options, which selects one option at a time.
QGroupBox *MakeFrame(QWidget *parent, const ControlDesign &design)
{
    auto *frame = new QGroupBox(Text(design.Caption), parent);
    frame->setGeometry(Pixels(design.Box));
    new QButtonGroup(frame);
    return frame;
}

QButtonGroup *GroupOf(const QGroupBox &frame)
{
    return frame.findChild<QButtonGroup *>(QString(), Qt::FindDirectChildrenOnly);
}

// An option of a frame, its Quantity as its id in the frame's group. The group's order, which
// the arrow keys follow, is the table's.
UnitOption *MakeOption(QGroupBox &frame, const ControlDesign &design)
{
    auto *option = new UnitOption(Text(design.Caption), &frame);
    option->setGeometry(Pixels(design.Box));
    GroupOf(frame)->addButton(option, static_cast<int>(*design.Unit));
    return option;
}

// The widget `parent` holds under the designed name `name`.
template <class Control> Control *Find(const QWidget &parent, std::string_view name)
{
    return parent.findChild<Control *>(Text(name));
}

// `name`, which must be a control of the table: a name that isn't fails to compile.
consteval std::string_view Designed(std::string_view name)
{
    if (FindControl(main_window::Window, name) == nullptr)
        throw "not a control of the main window";
    return name;
}

// Every option names a frame created before it and stands for a quantity, only labels have
// buddies and every buddy is a control of the table: what the window's builder relies on.
consteval bool Buildable(const WindowDesign &window)
{
    for (std::size_t i = 0; i < window.Controls.size(); ++i) {
        const ControlDesign &control = window.Controls[i];
        if (!control.Buddy.empty() &&
            (control.Kind != ControlKind::Label || FindControl(window, control.Buddy) == nullptr))
            return false;
        if (control.Kind != ControlKind::Option)
            continue;
        const int frame = ControlIndex(window, control.Frame);
        if (frame < 0 || static_cast<std::size_t>(frame) >= i ||
            window.Controls[static_cast<std::size_t>(frame)].Kind != ControlKind::Frame ||
            !control.Unit)
            return false;
    }
    return true;
}
static_assert(Buildable(main_window::Window));

// The character code the reactions see for key `key`: 13 for Enter (the main Return key or the
// keypad's Enter), the one key they act on; 0 for every other key.
int CharacterCode(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter ? '\r' : 0;
}

} // namespace

frmPevrand::frmPevrand(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmPevrand"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Text(main_window::Window.Caption));
    setWindowIcon(QIcon(QStringLiteral(":/pevrand/Pevrand.ico")));
    setFixedSize(
        Pixels({0, 0, main_window::Window.ClientWidth, main_window::Window.ClientHeight}).size());

    setFont(Face(DialogFace));

    createControls();
    // After the controls, so that the frames get their plain look; captions keep their red.
    FixWindowColours(this, Colour(*main_window::Window.Background));
    connectReactions();
    chainTabOrder();
    Reactions.Form_Load();
    txtInputVal->setFocus();
    placeCentred();
}

// Every control of the window's table, in the table's order (a control drawn over another
// comes after it); then the labels' buddies, the controls the window itself uses and the
// option groups' Tab stops.
void frmPevrand::createControls()
{
    for (const ControlDesign &design : main_window::Window.Controls) {
        QWidget *widget = nullptr;
        switch (design.Kind) {
        case ControlKind::Label:
        case ControlKind::Picture:
            widget = MakeLabel(this, "", Text(design.Caption), design.Box);
            break;
        case ControlKind::TextBox:
            widget = MakeTextBox(this, design);
            break;
        case ControlKind::Frame:
            widget = MakeFrame(this, design);
            break;
        case ControlKind::Option:
            widget = MakeOption(*Find<QGroupBox>(*this, design.Frame), design);
            break;
        case ControlKind::Button:
            widget = MakeCommand(this, design);
            break;
        case ControlKind::Line:
            widget = MakeLine(this, design);
            break;
        }
        widget->setObjectName(Text(design.Name));
        if (!design.ToolTip.empty())
            widget->setToolTip(Text(design.ToolTip));
        if (!design.Font.Family.empty())
            widget->setFont(Face(design.Font));
        if (design.TextColour) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText, Colour(*design.TextColour));
            widget->setPalette(palette);
        }
    }
    for (const ControlDesign &design : main_window::Window.Controls)
        if (!design.Buddy.empty())
            Find<QLabel>(*this, design.Name)->setBuddy(Find<QWidget>(*this, design.Buddy));

    txtInputVal = Find<QLineEdit>(*this, Designed("txtInputVal"));
    txtOutputVal = Find<QLineEdit>(*this, Designed("txtOutputVal"));
    KeepOneTabStop(*GroupOf(*Find<QGroupBox>(*this, Designed("fraUnitsIn"))));
    KeepOneTabStop(*GroupOf(*Find<QGroupBox>(*this, Designed("fraUnitsOut"))));
}

// Every event of a control that may have a reaction goes to the reactions by the control's
// name; they decide what, if anything, it does.
void frmPevrand::connectReactions()
{
    for (const ControlDesign &design : main_window::Window.Controls) {
        const std::string_view name = design.Name;
        QWidget *widget = Find<QWidget>(*this, name);
        const auto click = [this, name] { Reactions.Click(name); };
        switch (design.Kind) {
        case ControlKind::Button:
            connect(static_cast<QPushButton *>(widget), &QPushButton::clicked, this, click);
            break;
        case ControlKind::Label:
        case ControlKind::Frame:
            connect(WidgetEvents::Watch(widget), &WidgetEvents::clicked, this, click);
            break;
        case ControlKind::TextBox:
            connect(static_cast<QLineEdit *>(widget), &QLineEdit::textChanged, this,
                    [this, name] { Reactions.Change(name); });
            connect(WidgetEvents::Watch(widget), &WidgetEvents::keyPressed, this,
                    [this, name](int key) { Reactions.KeyPress(name, CharacterCode(key)); });
            break;
        case ControlKind::Option: {
            // A selection made any way toggles the option on; a click on the option already
            // selected toggles nothing. A click that selects reports both, and clearing twice
            // does no harm.
            auto *option = static_cast<QAbstractButton *>(widget);
            connect(option, &QAbstractButton::clicked, this, click);
            connect(option, &QAbstractButton::toggled, this, [click](bool selected) {
                if (selected)
                    click();
            });
            break;
        }
        case ControlKind::Picture:
        case ControlKind::Line:
            break;
        }
    }
}

// The table's Tab stops in order; a frame's stop is its options, in the group's order, of which
// only the selected one takes Tab.
void frmPevrand::chainTabOrder()
{
    QWidget *previous = nullptr;
    const auto chain = [&previous](QWidget *widget) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    };
    for (const std::string_view stop : TabStops(main_window::Window)) {
        const ControlDesign &design = *FindControl(main_window::Window, stop);
        if (design.Kind != ControlKind::Frame) {
            chain(Find<QWidget>(*this, stop));
            continue;
        }
        for (const ControlDesign *option : FrameOptions(main_window::Window, stop))
            chain(Find<QWidget>(*this, option->Name));
    }
}

// Centred in the screen's available area, the whole frame inside it; on a screen too small for
// the window the title bar stays on it. Before the window is first shown its frame is not known
// yet: the position is then the frame's, and the window manager keeps the title bar below it.
void frmPevrand::placeCentred()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QWindow *handle = windowHandle();
    const QMargins frame = handle ? handle->frameMargins() : QMargins();
    move(CentredFramePosition(screen->availableGeometry(), size(), frame));
}

std::string frmPevrand::BoxText(std::string_view box) const
{
    const auto *edit = Find<QLineEdit>(*this, box);
    return edit ? edit->text().toStdString() : std::string();
}

void frmPevrand::SetBoxText(std::string_view box, std::string_view text)
{
    if (auto *edit = Find<QLineEdit>(*this, box))
        edit->setText(Text(text));
}

void frmPevrand::LockOutput()
{
    txtOutputVal->setReadOnly(true);
}

std::optional<Quantity> frmPevrand::SelectedUnit(std::string_view frame) const
{
    const auto *box = Find<QGroupBox>(*this, frame);
    return box ? SelectedQuantity(*GroupOf(*box)) : std::nullopt;
}

void frmPevrand::SelectOption(std::string_view option)
{
    if (auto *button = Find<QAbstractButton>(*this, option))
        button->setChecked(true);
}

void frmPevrand::MoveFocus(std::string_view control)
{
    if (auto *widget = Find<QWidget>(*this, control))
        widget->setFocus();
}

// The message box is modal: the focus moves once the user has pressed OK.
void frmPevrand::ShowMessage(std::string_view text, std::string_view focusAfter)
{
    ShowProgramMessage(this, Text(text));
    if (!focusAfter.empty())
        MoveFocus(focusAfter);
}

void frmPevrand::OpenAbout()
{
    frmAbout::ShowFor(this);
}

void frmPevrand::CloseWindow()
{
    close();
}

} // namespace pevrand
