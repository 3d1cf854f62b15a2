// The About window as the user meets it: opened from a stand-in for the main window, driven
// with real key presses and clicks on the offscreen platform.
#include "ui/about/qt/frmAbout.h"

#include "tests/ui/common/qt/WindowTestFixture.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

using pevrand::frmAbout;

namespace
{

using window_test::Find;

int OpenAboutWindows()
{
    int count = 0;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        count += qobject_cast<frmAbout *>(window) != nullptr && window->isVisible() ? 1 : 0;
    }
    return count;
}

// Sets $PATH for one test and puts it back afterwards.
class SearchPath
{
public:
    explicit SearchPath(const QString &path) : saved_(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(path));
    }
    ~SearchPath() { qputenv("PATH", saved_); }
    SearchPath(const SearchPath &) = delete;
    SearchPath &operator=(const SearchPath &) = delete;

private:
    QByteArray saved_;
};

const QString Unavailable =
    QStringLiteral("Pevrand: System Information Is Unavailable At This Time");

enum class CloseBy { OkClick, EnterOnOk, Escape, CloseBox };
enum class SysInfoBy { Click, ReturnOnButton, KeypadEnterOnButton, AltS };
enum class Window { Main, About, BareToolWindow };

} // namespace

Q_DECLARE_METATYPE(CloseBy)
Q_DECLARE_METATYPE(SysInfoBy)
Q_DECLARE_METATYPE(Window)

class AboutWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadSetsTheTexts_data();
    void loadSetsTheTexts();
    void clientAreaIsFixed();
    void separatorIsEtched();
    void imageTwoShowsTheProgramIcon();
    void frameIsAFixedWindowWithoutOwner();
    void opensCentred_data();
    void opensCentred();
    void focusStartsOnOkAndTabsToSystemInfo();
    void secondPressOnlyBringsItToTheFront();
    void everyWayToCloseUnloads_data();
    void everyWayToCloseUnloads();
    void systemInfoKeepsTheWindowOpen_data();
    void systemInfoKeepsTheWindowOpen();
    void systemInfoStartsTheDesktopTool();
    void programEndsWithTheLastWindow_data();
    void programEndsWithTheLastWindow();

private:
    QPointer<QWidget> main_;
    window_test::ModalAnswerer *answerer_ = nullptr;
};

void AboutWindowTest::init()
{
    answerer_ = new window_test::ModalAnswerer;
    main_ = new QWidget;
    main_->setObjectName(QStringLiteral("frmPevrand"));
    main_->setAttribute(Qt::WA_DeleteOnClose);
    main_->setGeometry(200, 10, 371, 574);
    main_->show();
    QVERIFY(QTest::qWaitForWindowExposed(main_));
}

void AboutWindowTest::cleanup()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        delete window;
    }
    const bool clean = answerer_->Verify();
    delete answerer_;
    QVERIFY(clean);
}

void AboutWindowTest::loadSetsTheTexts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::newRow("caption from the title") << ""
                                            << "About Pevrand";
    QTest::newRow("title line") << "lblTitle"
                                << "Pevrand : Neutron Units Converter";
    QTest::newRow("version: major and minor, no revision") << "lblVersion"
                                                           << "Version 2.1";
    QTest::newRow("author credit line") << "lblDescription"
                                        << "Author: Pevrand Team pevrand@druvel.example";
    QTest::newRow("disclaimer") << "lblDisclaimer"
                                << "Use at your own risk!";
    QTest::newRow("System Info with access key S") << "cmdSysInfo"
                                                   << "&System Info...";
    QTest::newRow("OK") << "cmdOK"
                        << "OK";
}

void AboutWindowTest::loadSetsTheTexts()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    frmAbout *about = frmAbout::ShowFor(main_);
    if (control.isEmpty()) {
        QCOMPARE(about->windowTitle(), text);
    } else if (auto *label = about->findChild<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
        // The fixed box holds the whole text on one line, whatever the desktop's font.
        const QFontMetrics metrics(label->font());
        QVERIFY(metrics.horizontalAdvance(text) <= label->width());
        QVERIFY(metrics.height() <= label->height());
    } else {
        auto *button = about->findChild<QPushButton *>(control);
        QVERIFY(button != nullptr);
        QCOMPARE(button->text(), text);
        QVERIFY(button->fontMetrics().horizontalAdvance(QString(text).remove('&')) <
                button->width());
    }
}

void AboutWindowTest::clientAreaIsFixed()
{
    // 7215 x 3945 twips; the window can't be resized.
    frmAbout *about = frmAbout::ShowFor(main_);
    QCOMPARE(about->size(), QSize(481, 263));
    QCOMPARE(about->minimumSize(), about->maximumSize());
}

void AboutWindowTest::separatorIsEtched()
{
    frmAbout *about = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    const QImage image = about->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const auto at = [&](int x, int y) {
        return QColor(image.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio)));
    };
    // Grey from 90 twips (6 px), white from 120 (8 px) under it, both to 7080 (472 px).
    QCOMPARE(at(6, 216), QColor(128, 128, 128));
    QCOMPARE(at(471, 216), QColor(128, 128, 128));
    QCOMPARE(at(8, 217), QColor(Qt::white));
    QCOMPARE(at(471, 217), QColor(Qt::white));
    QVERIFY(at(6, 217) != QColor(Qt::white));
    QVERIFY(at(472, 216) != QColor(128, 128, 128));
    QCOMPARE(about->findChildren<QWidget *>("Line1").size(), 2);
}

void AboutWindowTest::imageTwoShowsTheProgramIcon()
{
    QVERIFY2(QFile::exists(":/pevrand/Pevrand.ico"), "the program icon is not linked in");
    frmAbout *about = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    auto *image2 = Find<QWidget>(about, "Image2");
    const QImage shown = image2->grab().toImage();
    const QImage background = about->grab(QRect(0, 0, 32, 32)).toImage();
    QVERIFY(shown != background);
}

void AboutWindowTest::frameIsAFixedWindowWithoutOwner()
{
    frmAbout *about = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    const Qt::WindowFlags flags = about->windowFlags();
    // A plain top-level window: neither a dialog nor a tool window, which X11 window managers
    // would keep above the main window.
    QCOMPARE(about->windowType(), Qt::Window);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(!about->testAttribute(Qt::WA_SetWindowIcon));
    // Modeless and without owner: the main window stays usable and the two live apart.
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowModality(), Qt::NonModal);
    QCOMPARE(about->parentWidget(), nullptr);
    QCOMPARE(about->windowHandle()->transientParent(), nullptr);
    QVERIFY(main_->isEnabled());
    QVERIFY(about->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(about->testAttribute(Qt::WA_QuitOnClose));
}

void AboutWindowTest::opensCentred_data()
{
    QTest::addColumn<QRect>("mainWindow");
    QTest::newRow("over the main window") << QRect(200, 10, 371, 574);
    QTest::newRow("over the main window, kept on the screen at its right edge")
        << QRect(700, 10, 371, 574);
    QTest::newRow("on the screen when there is no main window") << QRect();
}

void AboutWindowTest::opensCentred()
{
    QFETCH(QRect, mainWindow);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (mainWindow.isNull()) {
        main_->close();
    } else {
        main_->setGeometry(mainWindow);
    }
    frmAbout *about = frmAbout::ShowFor(mainWindow.isNull() ? nullptr : main_.data());
    // The frame is placed; without a main window its margins are not known before the first
    // show, and the centre may be off by them.
    const QRect place = about->frameGeometry();
    const QMargins margins = about->windowHandle()->frameMargins();
    const int slack = mainWindow.isNull() ? margins.top() + margins.bottom() : 0;
    QVERIFY(screen.contains(place));
    const QPoint wanted = mainWindow.isNull() ? screen.center() : main_->frameGeometry().center();
    QVERIFY(qAbs(place.center().y() - wanted.y()) <= slack);
    if (mainWindow.right() <= screen.right()) {
        QVERIFY(qAbs(place.center().x() - wanted.x()) <= slack);
    } else {
        QCOMPARE(place.right(), screen.right());
    }
}

void AboutWindowTest::focusStartsOnOkAndTabsToSystemInfo()
{
    frmAbout *about = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowActive(about));
    auto *ok = Find<QPushButton>(about, "cmdOK");
    auto *sysInfo = Find<QPushButton>(about, "cmdSysInfo");
    QCOMPARE(QApplication::focusWidget(), ok);
    QVERIFY(ok->isDefault());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), sysInfo);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), sysInfo);
}

void AboutWindowTest::secondPressOnlyBringsItToTheFront()
{
    frmAbout *first = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowActive(first));
    first->move(first->pos() + QPoint(30, 20)); // the user moved it
    const QRect moved = first->geometry();
    main_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main_));

    frmAbout *second = frmAbout::ShowFor(main_);
    QCOMPARE(second, first);
    QCOMPARE(OpenAboutWindows(), 1);
    QVERIFY(QTest::qWaitForWindowActive(first));
    QCOMPARE(first->geometry(), moved); // not placed, not loaded again
}

void AboutWindowTest::everyWayToCloseUnloads_data()
{
    QTest::addColumn<CloseBy>("way");
    QTest::newRow("OK clicked") << CloseBy::OkClick;
    QTest::newRow("Enter with the focus on OK") << CloseBy::EnterOnOk;
    QTest::newRow("Escape, OK being the cancel button") << CloseBy::Escape;
    QTest::newRow("the frame's close box") << CloseBy::CloseBox;
}

void AboutWindowTest::everyWayToCloseUnloads()
{
    QFETCH(CloseBy, way);
    QPointer<frmAbout> about = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowActive(about));
    auto *ok = Find<QPushButton>(about, "cmdOK");
    switch (way) {
    case CloseBy::OkClick:
        QTest::mouseClick(ok, Qt::LeftButton);
        break;
    case CloseBy::EnterOnOk:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        break;
    case CloseBy::Escape:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        break;
    case CloseBy::CloseBox:
        about->windowHandle()->close();
        break;
    }
    QVERIFY(about.isNull() || !about->isVisible());
    QCOMPARE(frmAbout::OpenWindow(), nullptr);
    QTRY_VERIFY(about.isNull()); // unloaded, not only hidden
    QVERIFY(main_->isVisible());

    // The next press loads it anew, with the same texts.
    frmAbout *again = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowActive(again));
    QCOMPARE(again->windowTitle(), QStringLiteral("About Pevrand"));
    QCOMPARE(Find<QLabel>(again, "lblTitle")->text(), "Pevrand : Neutron Units Converter");
    QCOMPARE(Find<QLabel>(again, "lblVersion")->text(), "Version 2.1");
    QCOMPARE(Find<QLabel>(again, "lblDescription")->text(),
             "Author: Pevrand Team pevrand@druvel.example");
    QCOMPARE(Find<QLabel>(again, "lblDisclaimer")->text(), "Use at your own risk!");
    QCOMPARE(QApplication::focusWidget(), Find<QPushButton>(again, "cmdOK"));
}

void AboutWindowTest::systemInfoKeepsTheWindowOpen_data()
{
    QTest::addColumn<SysInfoBy>("way");
    QTest::newRow("System Info clicked") << SysInfoBy::Click;
    QTest::newRow("Enter with the focus on System Info") << SysInfoBy::ReturnOnButton;
    QTest::newRow("keypad Enter with the focus on System Info") << SysInfoBy::KeypadEnterOnButton;
    QTest::newRow("Alt+S with the focus on OK") << SysInfoBy::AltS;
}

// With no system-information tool on the search path, the launcher says so, and the window
// stays open and usable.
void AboutWindowTest::systemInfoKeepsTheWindowOpen()
{
    QFETCH(SysInfoBy, way);
    QTemporaryDir empty;
    const SearchPath path(empty.path());
    QPointer<frmAbout> about = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowActive(about));
    auto *sysInfo = Find<QPushButton>(about, "cmdSysInfo");
    if (way == SysInfoBy::ReturnOnButton || way == SysInfoBy::KeypadEnterOnButton) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), sysInfo);
    }

    switch (way) {
    case SysInfoBy::Click:
        QTest::mouseClick(sysInfo, Qt::LeftButton);
        break;
    case SysInfoBy::ReturnOnButton:
        QTest::keyClick(sysInfo, Qt::Key_Return);
        break;
    case SysInfoBy::KeypadEnterOnButton:
        QTest::keyClick(sysInfo, Qt::Key_Enter, Qt::KeypadModifier);
        break;
    case SysInfoBy::AltS:
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
        break;
    }
    // A button's access key presses it a moment later, the way a click looks.
    QTRY_COMPARE(answerer_->Texts(), QStringList{Unavailable});
    // Over the About window, whose button raised it.
    QCOMPARE(answerer_->Messages.first().parent.data(), static_cast<QWidget *>(about.data()));
    answerer_->Messages.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!about.isNull());
    QVERIFY(about->isVisible());
    QCOMPARE(frmAbout::OpenWindow(), about.data());
}

// The button reaches the launcher: a tool on the search path is started, and no message.
void AboutWindowTest::systemInfoStartsTheDesktopTool()
{
    QTemporaryDir bin;
    const QString tool = bin.filePath("hardinfo");
    QFile script(tool);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n: >\"$0.started\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const SearchPath path(bin.path());

    frmAbout *about = frmAbout::ShowFor(main_);
    QVERIFY(QTest::qWaitForWindowActive(about));
    QTest::mouseClick(Find<QPushButton>(about, "cmdSysInfo"), Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(tool + ".started"));
    QCOMPARE(answerer_->Texts(), QStringList{});
    QVERIFY(about->isVisible());
}

void AboutWindowTest::programEndsWithTheLastWindow_data()
{
    QTest::addColumn<Window>("second");
    QTest::addColumn<Window>("firstClosed");
    QTest::addColumn<QStringList>("events");
    const QStringList heldOpen{"first closed", "second still open", "second closed", "quit"};
    QTest::newRow("main window quit first: the About window keeps the program running")
        << Window::About << Window::Main << heldOpen;
    QTest::newRow("About window closed first: the program ends with the main window")
        << Window::About << Window::About << heldOpen;
    // What the About window guards against: Qt lets a plain tool window die with the program.
    QTest::newRow("a plain tool window would be cut off with the main window")
        << Window::BareToolWindow << Window::Main << QStringList{"first closed", "quit"};
}

// Runs the program's event loop with the main window and a second window open, closes one,
// then the other, and logs when the program ends.
void AboutWindowTest::programEndsWithTheLastWindow()
{
    QFETCH(Window, second);
    QFETCH(Window, firstClosed);
    QFETCH(QStringList, events);

    QPointer<QWidget> other;
    if (second == Window::About) {
        other = frmAbout::ShowFor(main_);
    } else {
        auto *tool = new QDialog(nullptr, Qt::Tool);
        tool->setAttribute(Qt::WA_DeleteOnClose);
        tool->show();
        other = tool;
    }
    QVERIFY(QTest::qWaitForWindowExposed(other));
    QPointer<QWidget> first = firstClosed == Window::Main ? main_ : other;
    QPointer<QWidget> last = firstClosed == Window::Main ? other : main_;

    QStringList log;
    QObject scope; // drops the timers still pending when the loop ends
    connect(qApp, &QCoreApplication::aboutToQuit, &scope, [&log] { log << "quit"; });
    QTimer::singleShot(0, &scope, [&] {
        first->close();
        log << "first closed";
        QTimer::singleShot(100, &scope, [&] {
            log << (last && last->isVisible() ? "second still open" : "second gone");
            last->close();
            log << "second closed";
        });
    });
    QTimer::singleShot(5000, &scope, [] { QCoreApplication::exit(99); });

    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(log, events);
}

QTEST_MAIN(AboutWindowTest)
#include "AboutWindowTest.moc"
