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
#include "ui/main/ConvertCommand.h"
#include "ui/main/MainWindowDesign.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

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

// Enter is the main Return key or the keypad's Enter.
bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
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
    Form_Load();
    txtInputVal->setFocus();
    placeCentred();
}

// Every control of the window's table, in the table's order (a control drawn over another
// comes after it); then the labels' buddies and the named controls the reactions use.
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

    lblInputValue = Find<QLabel>(*this, Designed("lblInputValue"));
    txtInputVal = Find<QLineEdit>(*this, Designed("txtInputVal"));
    fraUnitsIn = Find<QGroupBox>(*this, Designed("fraUnitsIn"));
    optEnergyIn = Find<QRadioButton>(*this, Designed("optEnergyIn"));
    lblTwotheta = Find<QLabel>(*this, Designed("lblTwotheta"));
    txtTwotheta = Find<QLineEdit>(*this, Designed("txtTwotheta"));
    Label2 = Find<QLabel>(*this, Designed("Label2"));
    txtTotalflightpath = Find<QLineEdit>(*this, Designed("txtTotalflightpath"));
    fraUnitsOut = Find<QGroupBox>(*this, Designed("fraUnitsOut"));
    optEnergyOut = Find<QRadioButton>(*this, Designed("optEnergyOut"));
    txtOutputVal = Find<QLineEdit>(*this, Designed("txtOutputVal"));
    cmdConvert = Find<QPushButton>(*this, Designed("cmdConvert"));
    cmdAbout = Find<QPushButton>(*this, Designed("cmdAbout"));
    cmdQuit = Find<QPushButton>(*this, Designed("cmdQuit"));
    InputUnits = GroupOf(*fraUnitsIn);
    OutputUnits = GroupOf(*fraUnitsOut);

    KeepOneTabStop(*InputUnits);
    KeepOneTabStop(*OutputUnits);
}

void frmPevrand::connectReactions()
{
    connect(cmdConvert, &QPushButton::clicked, this, &frmPevrand::cmdConvert_Click);
    connect(cmdQuit, &QPushButton::clicked, this, &frmPevrand::cmdQuit_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &frmPevrand::cmdAbout_Click);

    connect(txtInputVal, &QLineEdit::textChanged, this, &frmPevrand::txtInputVal_Change);
    connect(WidgetEvents::Watch(txtInputVal), &WidgetEvents::keyPressed, this,
            &frmPevrand::txtInputVal_KeyPress);
    connect(txtTwotheta, &QLineEdit::textChanged, this, &frmPevrand::txtTwotheta_Change);
    connect(WidgetEvents::Watch(txtTwotheta), &WidgetEvents::keyPressed, this,
            &frmPevrand::txtTwotheta_KeyPress);
    connect(txtTotalflightpath, &QLineEdit::textChanged, this,
            &frmPevrand::txtTotalflightpath_Change);
    connect(WidgetEvents::Watch(txtTotalflightpath), &WidgetEvents::keyPressed, this,
            &frmPevrand::txtTotalflightpath_KeyPress);

    connect(WidgetEvents::Watch(lblInputValue), &WidgetEvents::clicked, this,
            &frmPevrand::lblInputValue_Click);
    connect(WidgetEvents::Watch(lblTwotheta), &WidgetEvents::clicked, this,
            &frmPevrand::lblTwotheta_Click);
    connect(WidgetEvents::Watch(Label2), &WidgetEvents::clicked, this, &frmPevrand::Label2_Click);
    connect(WidgetEvents::Watch(fraUnitsIn), &WidgetEvents::clicked, this,
            &frmPevrand::fraUnitsIn_Click);
    connect(WidgetEvents::Watch(fraUnitsOut), &WidgetEvents::clicked, this,
            &frmPevrand::fraUnitsOut_Click);

    // A selection made any way toggles the option on; a click on the option already selected
    // toggles nothing. A click that selects reports both, and clearing twice does no harm.
    connect(InputUnits, &QButtonGroup::idClicked, this, &frmPevrand::fraUnitsIn_OptionClick);
    connect(InputUnits, &QButtonGroup::idToggled, this, [this](int quantity, bool selected) {
        if (selected)
            fraUnitsIn_OptionClick(quantity);
    });
    connect(OutputUnits, &QButtonGroup::idClicked, this, &frmPevrand::fraUnitsOut_OptionClick);
    connect(OutputUnits, &QButtonGroup::idToggled, this, [this](int quantity, bool selected) {
        if (selected)
            fraUnitsOut_OptionClick(quantity);
    });
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

void frmPevrand::Form_Load()
{
    txtOutputVal->setReadOnly(true);
    txtInputVal->setText(QStringLiteral("25"));
    optEnergyIn->setChecked(true);
    // The output group's option for wavelength, optWavelengthOut.
    OutputUnits->button(static_cast<int>(Quantity::Wavelength))->setChecked(true);
    cmdConvert_Click();
}

void frmPevrand::cmdConvert_Click()
{
    const ConvertOutcome outcome =
        RunConvert({txtInputVal->text().toStdString(), txtTwotheta->text().toStdString(),
                    txtTotalflightpath->text().toStdString(), SelectedQuantity(*InputUnits),
                    SelectedQuantity(*OutputUnits)});
    if (!outcome.Message.empty()) {
        txtOutputVal->clear();
        ShowProgramMessage(this, QString::fromStdString(outcome.Message));
        moveFocusAfterMessage(outcome.Focus);
    }
    txtOutputVal->setText(QString::fromStdString(outcome.OutputText));
}

void frmPevrand::moveFocusAfterMessage(FocusTarget target)
{
    switch (target) {
    case FocusTarget::Unchanged:
        return;
    case FocusTarget::InputVal:
        txtInputVal->setFocus();
        return;
    case FocusTarget::TwoTheta:
        txtTwotheta->setFocus();
        return;
    case FocusTarget::TotalFlightPath:
        txtTotalflightpath->setFocus();
        return;
    case FocusTarget::EnergyIn:
        optEnergyIn->setFocus();
        return;
    case FocusTarget::EnergyOut:
        optEnergyOut->setFocus();
        return;
    }
}

void frmPevrand::cmdQuit_Click()
{
    close();
}

void frmPevrand::cmdAbout_Click()
{
    frmAbout::ShowFor(this);
}

void frmPevrand::txtInputVal_Change()
{
    txtOutputVal->clear();
}

void frmPevrand::txtInputVal_KeyPress(int key)
{
    if (IsEnter(key))
        cmdConvert_Click();
}

// The angle box only matters, and so only clears a result, when exactly one side is Q or
// d-spacing.
void frmPevrand::txtTwotheta_Change()
{
    if (NeedsAngle(SelectedQuantity(*InputUnits), SelectedQuantity(*OutputUnits)))
        txtOutputVal->clear();
}

void frmPevrand::txtTwotheta_KeyPress(int key)
{
    if (IsEnter(key))
        cmdConvert_Click();
}

// The flight path divides out unless exactly one side is time-of-flight.
void frmPevrand::txtTotalflightpath_Change()
{
    if (NeedsFlightPath(SelectedQuantity(*InputUnits), SelectedQuantity(*OutputUnits)))
        txtOutputVal->clear();
}

void frmPevrand::txtTotalflightpath_KeyPress(int key)
{
    if (IsEnter(key))
        cmdConvert_Click();
}

void frmPevrand::lblInputValue_Click()
{
    txtInputVal->setFocus();
}

void frmPevrand::lblTwotheta_Click()
{
    txtTwotheta->setFocus();
}

void frmPevrand::Label2_Click()
{
    txtTotalflightpath->setFocus();
}

void frmPevrand::fraUnitsIn_Click()
{
    optEnergyIn->setFocus();
}

void frmPevrand::fraUnitsOut_Click()
{
    optEnergyOut->setFocus();
}

// A click clears the output even on the option already selected.
void frmPevrand::fraUnitsIn_OptionClick(int)
{
    txtOutputVal->clear();
}

void frmPevrand::fraUnitsOut_OptionClick(int)
{
    txtOutputVal->clear();
}

} // namespace pevrand
