// The Qt pieces both windows share that a window test can't reach: where a window opens on
// screens the test machine doesn't have, and the caption check at its edges.
#include "ui/common/qt/Fonts.h"
#include "ui/common/qt/Placement.h"

#include <QTest>

using namespace pevrand;

class CommonQtTest : public QObject
{
    Q_OBJECT

private slots:
    void framePosition_data();
    void framePosition();
    void captionFits_data();
    void captionFits();
};

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
    QTest::newRow("area narrower than the frame: left edge kept")
        << QPoint() << QRect(10, 0, 300, 800) << main << titleBar << QPoint(10, 97);
    QTest::newRow("over a main window near the right edge: pushed inside")
        << QPoint(900, 300) << QRect(0, 0, 1024, 768) << about << titleBar << QPoint(541, 154);
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

void CommonQtTest::captionFits_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("widthChange");  // to the width the shown caption needs on one line
    QTest::addColumn<int>("heightChange"); // to one line's height
    QTest::addColumn<bool>("wraps");
    QTest::addColumn<bool>("fits");
    QTest::newRow("one line, exactly wide enough") << "Convert" << 0 << 0 << false << true;
    QTest::newRow("one line, a pixel short") << "Convert" << -1 << 0 << false << false;
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

QTEST_MAIN(CommonQtTest)
#include "CommonQtTest.moc"
