#include "frmPevrand.h"

#include "OptionGroup.h"
#include "WidgetEvents.h"
#include "resources/ProgramIdentity.h"
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

#include <initializer_list>

namespace pevrand
{
namespace
{

// Widening by one pixel, in twips.
constexpr int TwipsPerPixel = TwipsPerInch / StandardDpi;

constexpr QRgb Red = qRgb(255, 0, 0);

// A face of the window at the size at which its captions fit, whatever fonts are installed.
QFont Face(const FontDesign &face)
{
    return FittingFont(main_window::Window, face, *QApplication::style());
}

template <class Control> Control *Named(Control *control, const char *name, const QRect &geometry)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QLabel *MakeCaption(QWidget *parent, const char *name, const char *text, TwipsRect geometry)
{
    auto *label = MakeLabel(parent, name, QString::fromLatin1(text), geometry);
    label->setFont(Face(main_window::CaptionFace));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(Red));
    label->setPalette(palette);
    return label;
}

QLineEdit *MakeTextBox(QWidget *parent, const char *name, TwipsRect geometry, const char *toolTip)
{
    auto *box = Named(new QLineEdit(parent), name, Pixels(geometry));
    box->setToolTip(QString::fromLatin1(toolTip));
    KeepSystemColours(box);
    return box;
}

// Enter or Space presses a focused button, but no button is the window's default.
QPushButton *MakeCommand(QWidget *parent, const char *name, const char *caption, TwipsRect geometry,
                         const char *toolTip)
{
    auto *button = MakeButton(parent, name, QString::fromLatin1(caption), geometry, toolTip);
    button->setAutoDefault(true);
    button->setDefault(false);
    KeepSystemColours(button);
    return button;
}

QGroupBox *MakeFrame(QWidget *parent, const char *name, const char *title, TwipsRect geometry,
                     const char *toolTip)
{
    auto *frame = Named(new QGroupBox(QString::fromLatin1(title), parent), name, Pixels(geometry));
    frame->setToolTip(QString::fromLatin1(toolTip));
    return frame;
}

// An option of a frame: Left 120 and Height 255 twips inside the frame, its Quantity as its id
// in the frame's group.
QRadioButton *MakeOption(QGroupBox *frame, QButtonGroup *group, Quantity quantity, const char *name,
                         const char *caption, int topTwips, int widthTwips)
{
    auto *option = Named(new QRadioButton(QString::fromLatin1(caption), frame), name,
                         Pixels({120, topTwips, widthTwips, 255}));
    group->addButton(option, static_cast<int>(quantity));
    return option;
}

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
    setWindowTitle(QStringLiteral(PEVRAND_TITLE " : Neutron Units Converter"));
    setWindowIcon(QIcon(QStringLiteral(":/pevrand/Pevrand.ico")));
    setFixedSize(Pixels({0, 0, 5565, 8610}).size());

    setFont(Face(DialogFace));

    createControls();
    // After the controls, so that the frames get their plain look; captions keep their red.
    FixWindowColours(this, Colour(PaleCyan));
    connectReactions();
    chainTabOrder();
    Form_Load();
    txtInputVal->setFocus();
    placeCentred();
}

void frmPevrand::createControls()
{
    lblInput = MakeCaption(this, "lblInput", "INPUT", {120, 120, 1095, 375});
    lblInputValue =
        MakeLabel(this, "lblInputValue", QStringLiteral("&Input value:"), {1440, 240, 1095, 255});
    // Created after its label, so that it lies over the label's right end.
    txtInputVal =
        MakeTextBox(this, "txtInputVal", {2400, 120, 3015, 375}, "enter value to be converted");
    lblInputValue->setBuddy(txtInputVal);

    fraUnitsIn = MakeFrame(this, "fraUnitsIn", "Input Units", {1320, 600, 4095, 3435},
                           "units for the input value");
    InputUnits = new QButtonGroup(this);
    optEnergyIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Energy, "optEnergyIn",
                             "&Energy (meV)", 300, 3135);
    optWavelengthIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Wavelength, "optWavelengthIn",
                                 "Wavelength (Angstroms)", 600, 3255);
    optNuIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Nu, "optNuIn", "nu (THz)", 900, 3735);
    optVelocityIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Velocity, "optVelocityIn",
                               "Velocity (m/s)", 1200, 3735);
    optMomentumIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Momentum, "optMomentumIn",
                               "Momentum k (inverse Angstroms)", 1500, 3735);
    optTemperatureIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Temperature, "optTemperatureIn",
                                  "Temperature (K)", 1800, 3600);
    optInvcmIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Invcm, "optInvcmIn",
                            "Energy (inverse cm)", 2100, 3855);
    optQIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Q, "optQIn",
                        "Momentum transfer Q (inverse Angstroms)", 2400, 3600);
    optDspacingIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Dspacing, "optDspacingIn",
                               "d-Spacing (Angstroms)", 2700, 3600);
    optTofIn = MakeOption(fraUnitsIn, InputUnits, Quantity::Tof, "optTofIn",
                          "Time-of-flight (micro seconds)", 3000, 3600);

    lblTwotheta =
        MakeLabel(this, "lblTwotheta", QStringLiteral("&Scattering Angle 2 theta (degrees):"),
                  {120, 600, 1095, 615});
    txtTwotheta =
        MakeTextBox(this, "txtTwotheta", {120, 1200, 1095, 375}, "enter scattering angle");
    lblTwotheta->setBuddy(txtTwotheta);
    // One pixel taller than drawn (375 twips), so that the descenders of its second line show.
    Label2 = MakeLabel(this, "Label2", QStringLiteral("&Total Flight Path (metres)"),
                       {120, 1880, 1095, 375 + TwipsPerPixel});
    txtTotalflightpath =
        MakeTextBox(this, "txtTotalflightpath", {120, 2360, 1095, 375}, "enter total flight path");
    Label2->setBuddy(txtTotalflightpath);

    // The divider runs from (0, 4140) to (5685, 4140), past the right edge of the window.
    Line1 =
        Named(new QFrame(this), "Line1", Pixels({0, 4140, 5685 + TwipsPerPixel, TwipsPerPixel}));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Plain);
    Line1->setLineWidth(1);

    lblOutput = MakeCaption(this, "lblOutput", "OUTPUT", {120, 4260, 1095, 375});
    fraUnitsOut = MakeFrame(this, "fraUnitsOut", "Output Units", {1320, 4260, 4095, 3435},
                            "units for the output value");
    OutputUnits = new QButtonGroup(this);
    optEnergyOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Energy, "optEnergyOut",
                              "E&nergy (meV)", 300, 3615);
    optWavelengthOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Wavelength,
                                  "optWavelengthOut", "Wavelength (Angstroms)", 600, 3600);
    optNuOut =
        MakeOption(fraUnitsOut, OutputUnits, Quantity::Nu, "optNuOut", "nu (THz)", 900, 3600);
    optVelocityOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Velocity, "optVelocityOut",
                                "Velocity (m/s)", 1200, 3600);
    optMomentumOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Momentum, "optMomentumOut",
                                "Momentum k (inverse Angstroms)", 1500, 3600);
    optTemperatureOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Temperature,
                                   "optTemperatureOut", "Temperature (K)", 1800, 3600);
    optInvcmOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Invcm, "optInvcmOut",
                             "Energy (inverse cm)", 2100, 3600);
    optQOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Q, "optQOut",
                         "Momentum transfer Q (inverse Angstroms)", 2400, 3600);
    optDspacingOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Dspacing, "optDspacingOut",
                                "d-Spacing (Angstroms)", 2700, 3600);
    optTofOut = MakeOption(fraUnitsOut, OutputUnits, Quantity::Tof, "optTofOut",
                           "Time-of-flight (micro-seconds)", 3000, 3600);

    // Two pixels wider than drawn (975 twips), so that the caption stays on its one line.
    Label1 = MakeLabel(this, "Label1", QStringLiteral("Output Value:"),
                       {1320, 7920, 975 + 2 * TwipsPerPixel, 255});
    txtOutputVal = MakeTextBox(this, "txtOutputVal", {2400, 7800, 3015, 375}, "converted value");
    // No access key, but the label still names the box for a screen reader.
    Label1->setBuddy(txtOutputVal);

    cmdConvert = MakeCommand(this, "cmdConvert", "&Convert", {120, 6600, 975, 375},
                             "convert input to output");
    cmdAbout = MakeCommand(this, "cmdAbout", "&About", {120, 7200, 975, 375},
                           "Find out about the Pevrand program");
    cmdQuit = MakeCommand(this, "cmdQuit", "&Quit", {120, 7800, 975, 375}, "exit the program");

    lblAuthor = MakeLabel(this, "lblAuthor",
                          QStringLiteral("Author: " PEVRAND_AUTHOR_NAME " " PEVRAND_AUTHOR_EMAIL
                                         "    Date: July 2001"),
                          {120, 8280, 5295, 255});
    lblAuthor->setFont(Face(main_window::AuthorFace));
    lblAuthor->setToolTip(QStringLiteral("the author of the program"));

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

    connect(InputUnits, &QButtonGroup::idClicked, this, &frmPevrand::fraUnitsIn_OptionClick);
    connect(OutputUnits, &QButtonGroup::idClicked, this, &frmPevrand::fraUnitsOut_OptionClick);
}

// Each option group is one stop, entered at its selected option.
void frmPevrand::chainTabOrder()
{
    const std::initializer_list<QWidget *> chain = {
        txtInputVal,  txtTwotheta,    txtTotalflightpath, optEnergyIn,       optWavelengthIn,
        optNuIn,      optVelocityIn,  optMomentumIn,      optTemperatureIn,  optInvcmIn,
        optQIn,       optDspacingIn,  optTofIn,           optEnergyOut,      optWavelengthOut,
        optNuOut,     optVelocityOut, optMomentumOut,     optTemperatureOut, optInvcmOut,
        optQOut,      optDspacingOut, optTofOut,          cmdConvert,        cmdQuit,
        txtOutputVal, cmdAbout};
    QWidget *previous = nullptr;
    for (QWidget *widget : chain) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
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
    optWavelengthOut->setChecked(true);
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
