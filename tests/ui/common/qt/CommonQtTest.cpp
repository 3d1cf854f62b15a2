// The Qt pieces both windows share: where a window opens, the faces with their stand-ins and
// the caption check, and the fixed colours of a window on a dark desktop.
#include "ui/common/qt/Fonts.h"
#include "ui/common/qt/Placement.h"
#include "ui/common/qt/WindowColours.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleFactory>
#include <QTest>

using namespace pevrand;

namespace
{

// A dark desktop's colours: light text on dark grey.
QPalette DarkPalette()
{
    QPalette dark(QColor(230, 230, 230), QColor(50, 50, 50), QColor(90, 90, 90), QColor(20, 20, 20),
                  QColor(40, 40, 40), QColor(230, 230, 230), Qt::white, QColor(30, 30, 30),
                  QColor(45, 45, 45));
    return dark;
}

const QColor PaleCyanColour(192, 255, 255);

} // namespace

class CommonQtTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void framePosition_data();
    void framePosition();
    void designFamilies_data();
    void designFamilies();
    void captionFits_data();
    void captionFits();
    void fixedPaletteIgnoresTheDesktop_data();
    void fixedPaletteIgnoresTheDesktop();
    void systemColoursSurviveTheWindowPalette();
    void frameInsideIsTheWindowColour_data();
    void frameInsideIsTheWindowColour();

private:
    QPalette saved_;
};

void CommonQtTest::initTestCase()
{
    saved_ = QApplication::palette();
    QApplication::setPalette(DarkPalette());
}

void CommonQtTest::cleanupTestCase()
{
    QApplication::setPalette(saved_);
}

void CommonQtTest::framePosition_data()
{
    QTest::addColumn<QPoint>("centre"); // null: centred in the available area
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QPoint>("topLeft");
    const QSize main(371, 574), about(481, 263);
    const QMargins titleBar(1, 29, 1, 1);
    QTest::newRow("centred on a 1024x768 screen")
        << QPoint() << QRect(0, 0, 1024, 768) << main << titleBar << QPoint(325, 81);
    QTest::newRow("frame unknown yet: centred by the client size")
        << QPoint() << QRect(0, 0, 1024, 768) << main << QMargins() << QPoint(326, 96);
    QTest::newRow("1080p at 200% under a top panel: title bar on the screen")
        << QPoint() << QRect(0, 27, 960, 513) << main << titleBar << QPoint(293, 27);
    QTest::newRow("second screen left of the first")
        << QPoint() << QRect(-1280, 0, 1280, 1024) << main << titleBar << QPoint(-826, 209);
    QTest::newRow("area narrower than the frame: left edge kept")
        << QPoint() << QRect(10, 0, 300, 800) << main << titleBar << QPoint(10, 97);
    QTest::newRow("over a main window near the right edge: pushed inside")
        << QPoint(900, 300) << QRect(0, 0, 1024, 768) << about << titleBar << QPoint(541, 154);
    QTest::newRow("over a main window near the top: pushed down")
        << QPoint(500, 40) << QRect(0, 24, 1024, 744) << about << titleBar << QPoint(259, 24);
}

void CommonQtTest::framePosition()
{
    QFETCH(QPoint, centre);
    QFETCH(QRect, available);
    QFETCH(QSize, client);
    QFETCH(QMargins, frame);
    QFETCH(QPoint, topLeft);
    const QPoint placed = centre.isNull() ? CentredFramePosition(available, client, frame)
                                          : FramePositionOver(centre, available, client, frame);
    QCOMPARE(placed, topLeft);
    const QRect whole(placed, client.grownBy(frame));
    if (whole.width() <= available.width() && whole.height() <= available.height())
        QVERIFY(available.contains(whole));
}

void CommonQtTest::designFamilies_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("families");
    QTest::newRow("dialog font: Liberation Sans, then the Arial-metric faces")
        << QString()
        << QStringList{"Liberation Sans", "Arimo", "Arial", "Helvetica", "Nimbus Sans"};
    QTest::newRow("Times New Roman, then the faces with its metrics")
        << QString("Times New Roman")
        << QStringList{"Times New Roman", "Liberation Serif", "Tinos", "Times", "Nimbus Roman"};
    QTest::newRow("Comic Sans MS, its metric twin, then its look-alike")
        << QString("Comic Sans MS") << QStringList{"Comic Sans MS", "Comic Relief", "Comic Neue"};
    QTest::newRow("a face without known stand-ins stands alone")
        << QString("Courier New") << QStringList{"Courier New"};
}

void CommonQtTest::designFamilies()
{
    QFETCH(QString, family);
    QFETCH(QStringList, families);
    const std::string name = family.toStdString();
    QCOMPARE(DesignFamilies(name), families);
    QCOMPARE(DesignFont({name, 12, true}).families(), families);
}

void CommonQtTest::captionFits_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("widthChange");  // to the width the shown caption needs on one line
    QTest::addColumn<int>("heightChange"); // to one line's height
    QTest::addColumn<bool>("wraps");
    QTest::addColumn<bool>("fits");
    QTest::newRow("one line, exactly wide enough") << "Convert" << 0 << 0 << false << true;
    QTest::newRow("one line, a pixel short") << "Convert" << -1 << 0 << false << false;
    QTest::newRow("one line, a pixel too low") << "Convert" << 0 << -1 << false << false;
    QTest::newRow("the access key's & takes no room") << "&Convert" << 0 << 0 << false << true;
    QTest::newRow("too narrow for one line, but wraps onto two")
        << "Total Flight Path" << -10 << 1000 << true << true;
    QTest::newRow("wraps, but the second line is cut off")
        << "Total Flight Path" << -10 << 0 << true << false;
    QTest::newRow("a word wider than the room sticks out")
        << "Scattering" << -1 << 1000 << true << false;
}

void CommonQtTest::captionFits()
{
    QFETCH(QString, caption);
    QFETCH(int, widthChange);
    QFETCH(int, heightChange);
    QFETCH(bool, wraps);
    QFETCH(bool, fits);
    const QFont font = DesignFont(DialogFace);
    const QFontMetrics metrics(font);
    const std::string text = caption.toStdString();
    const ControlDesign control{"Caption", ControlKind::Label, text, {}};
    const CaptionRoom room{&control,
                           metrics.horizontalAdvance(QString(caption).remove('&')) + widthChange,
                           metrics.height() + heightChange, wraps};
    QCOMPARE(CaptionFits(room, font), fits);
}

void CommonQtTest::fixedPaletteIgnoresTheDesktop_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("colour");
    const auto row = [](const char *name, QPalette::ColorGroup group, QPalette::ColorRole role,
                        QColor colour) {
        QTest::newRow(name) << int(group) << int(role) << colour;
    };
    row("background", QPalette::Active, QPalette::Window, PaleCyanColour);
    row("labels, frame titles and options: black", QPalette::Active, QPalette::WindowText,
        Qt::black);
    row("also while the window is inactive", QPalette::Inactive, QPalette::WindowText, Qt::black);
    row("greyed when disabled", QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    row("option indicators: white", QPalette::Active, QPalette::Base, Qt::white);
    row("option marks: black", QPalette::Active, QPalette::Text, Qt::black);
    row("focus mark and highlight: dark blue", QPalette::Active, QPalette::Highlight,
        QColor(0, 0, 128));
    row("frame line: grey", QPalette::Active, QPalette::Dark, QColor(128, 128, 128));
    row("frame line's light side: white", QPalette::Active, QPalette::Light, Qt::white);
}

// Under the dark desktop palette of this suite.
void CommonQtTest::fixedPaletteIgnoresTheDesktop()
{
    QFETCH(int, group);
    QFETCH(int, role);
    QFETCH(QColor, colour);
    QWidget window;
    FixWindowColours(&window, PaleCyanColour);
    QLabel *label = new QLabel("Output Value:", &window);
    QCOMPARE(label->palette().color(QPalette::ColorGroup(group), QPalette::ColorRole(role)),
             colour);
}

// A text box keeps the desktop's colours although the window around it fixes its own, also
// when the window fixes them after the box was made.
void CommonQtTest::systemColoursSurviveTheWindowPalette()
{
    QWidget window;
    auto *box = new QLineEdit(&window);
    KeepSystemColours(box);
    FixWindowColours(&window, PaleCyanColour);
    const QPalette dark = QApplication::palette();
    QCOMPARE(dark.color(QPalette::Base), QColor(30, 30, 30));
    for (const QPalette::ColorRole role :
         {QPalette::Base, QPalette::Text, QPalette::Window, QPalette::WindowText,
          QPalette::Highlight, QPalette::Button, QPalette::ButtonText})
        QCOMPARE(box->palette().color(role), dark.color(role));
}

void CommonQtTest::frameInsideIsTheWindowColour_data()
{
    QTest::addColumn<QString>("style");
    QTest::newRow("Fusion, which shades a frame's inside") << "Fusion";
    QTest::newRow("Windows") << "Windows";
}

// The inside of a frame is the window's colour to the pixel, and its line is drawn.
void CommonQtTest::frameInsideIsTheWindowColour()
{
    QFETCH(QString, style);
    QStyle *desktop = QStyleFactory::create(style);
    QVERIFY(desktop);
    QApplication::setStyle(desktop);
    QWidget window;
    window.resize(300, 200);
    auto *frame = new QGroupBox("Input Units", &window);
    frame->setGeometry(20, 20, 260, 160);
    FixWindowColours(&window, PaleCyanColour);
    const QImage image = window.grab().toImage();
    QCOMPARE(QColor(image.pixel(150, 120)), PaleCyanColour);
    QCOMPARE(QColor(image.pixel(30, 175)), PaleCyanColour);
    const QColor edge = image.pixel(150, 20 + 160 - 2);
    QVERIFY2(edge != PaleCyanColour, "no frame line");
}

QTEST_MAIN(CommonQtTest)
#include "CommonQtTest.moc"
