#include "frmAbout.h"

#include "FactorsPicture.h"
#include "resources/ProgramIdentity.h"
#include "ui/about/AboutWindowDesign.h"
#include "ui/about/SysInfoLauncher.h"
#include "ui/common/qt/Controls.h"
#include "ui/common/qt/Fonts.h"
#include "ui/common/qt/Placement.h"
#include "ui/common/qt/ProgramMessage.h"

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

namespace pevrand
{

namespace
{

const QSize ClientSize(TwipsToPixels(7215), TwipsToPixels(3945));

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

// A label whose text Form_Load sets; `blackText` fixes its colour to black.
QLabel *MakeTextLabel(QWidget *window, const char *name, TwipsRect box, bool blackText)
{
    auto *label = MakeLabel(window, name, QString(), box, false);
    if (blackText) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    return label;
}

QWidget *MakeLine(QWidget *window, QRect geometry, QColor colour, int index)
{
    auto *line = new QWidget(window);
    line->setObjectName(QStringLiteral("Line1"));
    line->setProperty("Index", index);
    line->setGeometry(geometry);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
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
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::createControls()
{
    Image2 = new IconPicture(QIcon(QStringLiteral(":/pevrand/Pevrand.ico")), this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(Pixels({240, 240, 480, 480}));

    lblTitle = MakeTextLabel(this, "lblTitle", {960, 240, 3885, 240}, true);
    lblVersion = MakeTextLabel(this, "lblVersion", {960, 480, 3885, 225}, false);
    lblDescription = MakeTextLabel(this, "lblDescription", {960, 720, 3885, 330}, true);

    Image1 = new FactorsPicture(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(Pixels({840, 1080, 6120, 1995}));

    // The etched separator: the grey line lies over the upper row of the white one.
    Line1[0] =
        MakeLine(this, QRect(TwipsToPixels(120), TwipsToPixels(3240), TwipsToPixels(7080 - 120), 2),
                 Qt::white, 0);
    Line1[1] =
        MakeLine(this, QRect(TwipsToPixels(90), TwipsToPixels(3240), TwipsToPixels(7080 - 90), 1),
                 QColor(128, 128, 128), 1);
    Line1[1]->raise();

    lblDisclaimer = MakeTextLabel(this, "lblDisclaimer", {255, 3465, 3870, 345}, true);

    cmdSysInfo = MakeButton(this, "cmdSysInfo", QStringLiteral("&System Info..."),
                            TwipsRect{4320, 3480, 1245, 345});
    cmdOK = MakeButton(this, "cmdOK", QStringLiteral("OK"), {5760, 3480, 1260, 345});
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
    const QString title = QStringLiteral(PEVRAND_TITLE);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(QStringLiteral("Version ") + QString::number(PEVRAND_VERSION_MAJOR) +
                        QLatin1Char('.') + QString::number(PEVRAND_VERSION_MINOR));
    lblTitle->setText(title + QStringLiteral(" : Neutron Units Converter"));
    lblDisclaimer->setText(QStringLiteral("Use at your own risk!"));
    lblDescription->setText(QStringLiteral("Author: ") + QStringLiteral(PEVRAND_AUTHOR_NAME) +
                            QLatin1Char(' ') + QStringLiteral(PEVRAND_AUTHOR_EMAIL));
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
