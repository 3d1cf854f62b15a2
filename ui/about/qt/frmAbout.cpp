#include "frmAbout.h"

#include "FactorsPicture.h"
#include "ui/about/AboutTexts.h"
#include "ui/about/AboutWindowDesign.h"
#include "ui/about/SysInfoLauncher.h"
#include "ui/common/qt/Controls.h"
#include "ui/common/qt/Fonts.h"
#include "ui/common/qt/Placement.h"
#include "ui/common/qt/ProgramMessage.h"
#include "ui/common/qt/WindowColours.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <functional>

#include <string>

namespace pevrand
{

namespace
{

// The dialog colour of a light scheme, behind the About window's black labels.
constexpr QRgb LightDialogColour = qRgb(240, 240, 240);

const QSize ClientSize(TwipsToPixels(about_window::Window.ClientWidth),
                       TwipsToPixels(about_window::Window.ClientHeight));

// The program icon, painted at the resolution of the screen it is on.
class IconPicture final : public QWidget
{
public:
    IconPicture(const QIcon &icon, QWidget *parent) : QWidget(parent), icon_(icon) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        icon_.paint(&painter, rect());
    }

private:
    QIcon icon_;
};

const ControlDesign &Design(std::string_view name)
{
    return *FindControl(about_window::Window, name);
}

// A label whose text Form_Load sets, in its designed colour where it has one.
QLabel *MakeTextLabel(QWidget *window, const ControlDesign &design)
{
    auto *label = MakeLabel(window, std::string(design.Name).c_str(), QString(), design.Box, false);
    if (design.TextColour) {
        QPalette palette = label->palette();
        palette.setColor(
            QPalette::WindowText,
            QColor(design.TextColour->Red, design.TextColour->Green, design.TextColour->Blue));
        label->setPalette(palette);
    }
    return label;
}

// Member `index` of the separator `design`: as long as designed, as many pixels high as its
// colour's line has.
QWidget *MakeLine(QWidget *window, const ControlDesign &design, int index)
{
    const Rgb colour = design.TextColour.value_or(Black);
    const int height = colour == about_window::SeparatorWhite ? about_window::WhiteLinePixels
                                                              : about_window::GreyLinePixels;
    auto *line = new QWidget(window);
    line->setObjectName(
        QString::fromLatin1(design.Name.data(), static_cast<qsizetype>(design.Name.size())));
    line->setProperty("Index", index);
    line->setGeometry(QRect(TwipsToPixels(design.Box.Left), TwipsToPixels(design.Box.Top),
                            TwipsToPixels(design.Box.Width), height));
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, QColor(colour.Red, colour.Green, colour.Blue));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
}

QPushButton *MakeDesignedButton(QWidget *window, const ControlDesign &design)
{
    return MakeButton(
        window, std::string(design.Name).c_str(),
        QString::fromUtf8(design.Caption.data(), static_cast<qsizetype>(design.Caption.size())),
        design.Box);
}

// The launcher's messages, in boxes that belong to `window`.
std::function<void(const std::string &)> MessagesOver(QWidget *window)
{
    return [window](const std::string &text) {
        ShowProgramMessage(window, QString::fromStdString(text));
    };
}

} // namespace

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A plain top-level window, not a dialog or tool window: on X11 Qt marks those transient
    // for the whole program, and the window manager then keeps this one above the main window
    // it opens over, hiding the converter. It keeps the program running until it is closed.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(ClientSize);
    setFont(FittingFont(about_window::Window, DialogFace, *style()));
    createControls();
    // The labels' text is black, so the window takes the dialog colour of a light scheme behind
    // it as well: on a dark desktop's dialog colour black text could not be read. The buttons
    // keep the desktop's colours.
    FixWindowColours(this, QColor(LightDialogColour));
    KeepSystemColours(cmdOK);
    KeepSystemColours(cmdSysInfo);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

// The controls as the About window's table describes them, in its order.
void frmAbout::createControls()
{
    Image2 = new IconPicture(QIcon(QStringLiteral(":/pevrand/Pevrand.ico")), this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(Pixels(Design("Image2").Box));

    lblTitle = MakeTextLabel(this, Design("lblTitle"));
    lblVersion = MakeTextLabel(this, Design("lblVersion"));
    lblDescription = MakeTextLabel(this, Design("lblDescription"));

    Image1 = new FactorsPicture(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Pixels(Design("Image1").Box));

    // The etched separator: the grey line, made second, lies over the upper row of the white.
    int index = 0;
    for (const ControlDesign &control : about_window::Controls)
        if (control.Kind == ControlKind::Line) {
            Line1[static_cast<std::size_t>(index)] = MakeLine(this, control, index);
            ++index;
        }
    Line1[1]->raise();

    lblDisclaimer = MakeTextLabel(this, Design("lblDisclaimer"));

    cmdSysInfo = MakeDesignedButton(this, Design("cmdSysInfo"));
    cmdOK = MakeDesignedButton(this, Design("cmdOK"));
    // OK is the default button; a button with the focus takes Enter for itself, so Enter
    // presses System Info while that has the focus.
    cmdOK->setDefault(true);
    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();
}

frmAbout *frmAbout::OpenWindow()
{
    // A closed About window is hidden at once and deleted a moment later; only a visible one
    // counts as open.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *about = qobject_cast<frmAbout *>(window); about && about->isVisible()) {
            return about;
        }
    }
    return nullptr;
}

frmAbout *frmAbout::ShowFor(QWidget *mainWindow)
{
    frmAbout *about = OpenWindow();
    if (about == nullptr) {
        about = new frmAbout;
        about->Form_Load();
        about->placeCentredOver(mainWindow);
        about->show();
    } else {
        about->setWindowState(about->windowState() & ~Qt::WindowMinimized);
    }
    about->raise();
    about->activateWindow();
    return about;
}

// Centred over the main window, or the screen, and never partly off the screen. The main
// window's frame stands for this one's, which is not known before it is first shown.
void frmAbout::placeCentredOver(const QWidget *mainWindow)
{
    const bool overWindow = mainWindow != nullptr && mainWindow->isVisible();
    const QScreen *screen = overWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    const QWindow *mainHandle = overWindow ? mainWindow->windowHandle() : nullptr;
    const QMargins frame = mainHandle ? mainHandle->frameMargins() : QMargins();
    const QPoint centre = overWindow ? mainWindow->frameGeometry().center() : available.center();
    move(FramePositionOver(centre, available, ClientSize, frame));
}

void frmAbout::Form_Load()
{
    const AboutWindowTexts texts = AboutTexts();
    setWindowTitle(QString::fromStdString(texts.Caption));
    lblVersion->setText(QString::fromStdString(texts.Version));
    lblTitle->setText(QString::fromStdString(texts.Title));
    lblDisclaimer->setText(QString::fromStdString(texts.Disclaimer));
    lblDescription->setText(QString::fromStdString(texts.Description));
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // OK is also the cancel button: Escape presses it.
    if (event->matches(QKeySequence::Cancel)) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    const auto platform = MakeSystemPlatform(MessagesOver(this));
    pevrand::StartSysInfo(*platform);
}

bool frmAbout::GetKeyValue(std::int32_t KeyRoot, const std::string &KeyName,
                           const std::string &SubKeyRef, std::string &KeyVal)
{
    const auto platform = MakeSystemPlatform(MessagesOver(this));
    return pevrand::GetKeyValue(*platform, KeyRoot, KeyName, SubKeyRef, KeyVal);
}

} // namespace pevrand
