// The main window driven through its real widgets, found by their names.
#include "ui/main/qt/frmPevrand.h"

#include "convert/ConvertCommand.h"
#include "tests/ui/common/qt/WindowTestFixture.h"
#include "ui/common/qt/Controls.h"
#include "ui/main/MainWindowDesign.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QTimer>
#include <QWindow>

using pevrand::frmPevrand;
using pevrand::Quantity;

using window_test::Message;
using window_test::ModalAnswerer;

namespace
{

// The middle of the option names, in the order of the groups and of Quantity.
const char *const Units[] = {"Energy",      "Wavelength", "Nu", "Velocity", "Momentum",
                             "Temperature", "Invcm",      "Q",  "Dspacing", "Tof"};
constexpr int UnitCount = int(std::size(Units));

QString Option(int unit, const char *side)
{
    return QStringLiteral("opt%1%2").arg(Units[unit], side);
}

} // namespace

class FrmPevrandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithTheFirstResult();
    void messagesThroughTheWindow_data();
    void messagesThroughTheWindow();
    void enterConvertsFromEachBox_data();
    void enterConvertsFromEachBox();
    void editsClearOnlyWhatTheyInvalidate_data();
    void editsClearOnlyWhatTheyInvalidate();
    void everyOptionClickClears_data();
    void everyOptionClickClears();
    void arrowKeysMoveTheSelection_data();
    void arrowKeysMoveTheSelection();
    void clicksMoveTheFocus_data();
    void clicksMoveTheFocus();
    void accessKeys_data();
    void accessKeys();
    void pushButtonsTakeEnterAndSpace_data();
    void pushButtonsTakeEnterAndSpace();
    void aboutOpensOneWindowBesideTheMain();
    void escapeAndEnterElsewhereDoNothing();
    void outputIsReadOnlyButCopyable();
    void screenReaderNamesAndResult_data();
    void screenReaderNamesAndResult();
    void tabVisitsOneStopPerGroup_data();
    void tabVisitsOneStopPerGroup();
    void captionsFitTheirControls_data();
    void captionsFitTheirControls();
    void fixedSizeCentredNoMaximise();
    void quitAndCloseBoxEndTheWindow_data();
    void quitAndCloseBoxEndTheWindow();

    // The window built from its design table, and its unit options as Windows option groups.
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void widenedLabelsStayWidened();
    void everySelectionClears_data();
    void everySelectionClears();
    void arrowKeysWalkTheGroupAndWrap_data();
    void arrowKeysWalkTheGroupAndWrap();
    void tabStopStaysOnTheSelectedOption_data();
    void tabStopStaysOnTheSelectedOption();
    void everyPairConvertsAsTheCommand_data();
    void everyPairConvertsAsTheCommand();

private:
    template <class Widget = QWidget> Widget *get(const QString &name) const
    {
        return window_test::Find<Widget>(Window, name);
    }
    QLineEdit *output() const { return get<QLineEdit>("txtOutputVal"); }
    void select(const QString &option) const { get<QRadioButton>(option)->setChecked(true); }
    // Fills the boxes, selects the units and converts; the output then shows a result.
    void convert(const QString &in, const QString &out, const QString &value = "25");

    QPointer<frmPevrand> Window;
    ModalAnswerer *Answerer = nullptr;
};

void FrmPevrandTest::init()
{
    Answerer = new ModalAnswerer;
    Window = new frmPevrand;
    Window->show();
    QVERIFY(QTest::qWaitForWindowActive(Window));
}

void FrmPevrandTest::cleanup()
{
    delete Window;
    // Whatever else a test opened (the About window) goes too.
    for (QWidget *top : QApplication::topLevelWidgets())
        top->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const bool clean = Answerer->Verify();
    delete Answerer;
    QVERIFY(clean);
}

void FrmPevrandTest::convert(const QString &in, const QString &out, const QString &value)
{
    select(in);
    select(out);
    get<QLineEdit>("txtInputVal")->setText(value);
    get<QLineEdit>("txtTwotheta")->setText("90");
    get<QLineEdit>("txtTotalflightpath")->setText("10");
    QTest::mouseClick(get<QPushButton>("cmdConvert"), Qt::LeftButton);
    QVERIFY(!output()->text().isEmpty());
}

void FrmPevrandTest::startsWithTheFirstResult()
{
    QCOMPARE(get<QLineEdit>("txtInputVal")->text(), "25");
    QVERIFY(get<QRadioButton>("optEnergyIn")->isChecked());
    QVERIFY(get<QRadioButton>("optWavelengthOut")->isChecked());
    QCOMPARE(get<QLineEdit>("txtTwotheta")->text(), "");
    QCOMPARE(get<QLineEdit>("txtTotalflightpath")->text(), "");
    QCOMPARE(output()->text(), "1.8087");
    QVERIFY(output()->isReadOnly());
    QCOMPARE(QApplication::focusWidget(), get("txtInputVal"));
    QCOMPARE(Window->windowTitle(), "Pevrand : Neutron Units Converter");
    QCOMPARE(get<QLabel>("lblAuthor")->text(),
             "Author: Pevrand Team pevrand@druvel.example    Date: July 2001");
}

void FrmPevrandTest::messagesThroughTheWindow_data()
{
    for (const char *column : {"value", "twoTheta", "flightPath", "in", "out", "message", "focus"})
        QTest::addColumn<QString>(column); // in, out: empty for no option selected
    const auto row = [](const char *name, QStringList values) {
        QTestData &data = QTest::newRow(name);
        for (const QString &value : values)
            data << value;
    };
    row("empty value",
        {"", "", "", "optEnergyIn", "optWavelengthOut", "No input value specified", "txtInputVal"});
    row("blank value is not empty, focus stays", {"  ", "", "", "optEnergyIn", "optWavelengthOut",
                                                  "Non-positive values not allowed", "cmdConvert"});
    row("negative value beats an empty flight path",
        {"-5", "", "", "optTofIn", "optEnergyOut", "Non-positive values not allowed",
         "cmdConvert"});
    row("empty flight path, time-of-flight in",
        {"1000", "", "", "optTofIn", "optEnergyOut", "Total flight path not specified",
         "txtTotalflightpath"});
    row("zero flight path, time-of-flight out",
        {"25", "", "0", "optEnergyIn", "optTofOut", "Total flight path must be positive",
         "txtTotalflightpath"});
    row("empty angle, Q out",
        {"25", "", "", "optEnergyIn", "optQOut", "Scattering angle not specified", "txtTwotheta"});
    row("angle above 180", {"25", "181", "", "optEnergyIn", "optQOut",
                            "2 theta must be in the range 0 to 180 degrees", "txtTwotheta"});
    row("zero angle, d-spacing out",
        {"25", "0", "", "optEnergyIn", "optDspacingOut",
         "2 theta must be greater than 0 for this conversion", "txtTwotheta"});
    row("value whose square overflows", {"1e20", "", "", "optEnergyIn", "optWavelengthOut",
                                         "Value out of range for this conversion", "txtInputVal"});
    row("decimal comma in the angle", {"25", "90,5", "", "optEnergyIn", "optQOut",
                                       "Use a period as the decimal point", "txtTwotheta"});
    row("no input unit", {"25", "", "", "", "optWavelengthOut",
                          "Input units not specified, or not yet available", "optEnergyIn"});
    row("no output unit", {"25", "", "", "optEnergyIn", "",
                           "Output units not specified, or not yet available", "optEnergyOut"});
    row("decimal comma in the value", {"2,5", "", "", "optEnergyIn", "optWavelengthOut",
                                       "Use a period as the decimal point", "txtInputVal"});
}

// Each run that shows a message shows exactly one box of the program's kind, empties the
// output and then moves the focus to the field at fault.
void FrmPevrandTest::messagesThroughTheWindow()
{
    QFETCH(QString, value);
    QFETCH(QString, twoTheta);
    QFETCH(QString, flightPath);
    QFETCH(QString, in);
    QFETCH(QString, out);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    get<QLineEdit>("txtInputVal")->setText(value);
    get<QLineEdit>("txtTwotheta")->setText(twoTheta);
    get<QLineEdit>("txtTotalflightpath")->setText(flightPath);
    // No option selected is a state only the program could reach: clear the group by hand.
    for (const QString &side : {QStringLiteral("optEnergyIn"), QStringLiteral("optEnergyOut")}) {
        QButtonGroup *group = get<QRadioButton>(side)->group();
        group->setExclusive(false);
        group->checkedButton()->setChecked(false);
        group->setExclusive(true);
    }
    if (!in.isEmpty())
        select(in);
    if (!out.isEmpty())
        select(out);
    output()->setText("stale");

    QTest::mouseClick(get<QPushButton>("cmdConvert"), Qt::LeftButton);

    QCOMPARE(Answerer->Messages.size(), 1);
    const Message shown = Answerer->Messages.takeFirst();
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.title, "Pevrand");
    QCOMPARE(shown.objectName, "ProgramMessage");
    QCOMPARE(shown.buttons, 1);
    QCOMPARE(shown.icon, QMessageBox::NoIcon);
    QCOMPARE(shown.modality, Qt::ApplicationModal);
    // It belongs to the window that raised it, so it opens over it and stays in front of it.
    QCOMPARE(shown.parent.data(), static_cast<QWidget *>(Window.data()));
    QCOMPARE(output()->text(), "");
    // The focus the window gives back once it is active again (the window manager's part).
    QCOMPARE(Window->focusWidget(), get(focus));
    Window->activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), get(focus));
}

void FrmPevrandTest::enterConvertsFromEachBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    for (const char *box : {"txtInputVal", "txtTwotheta", "txtTotalflightpath"}) {
        QTest::addRow("Return in %s", box) << box << int(Qt::Key_Return);
        QTest::addRow("keypad Enter in %s", box) << box << int(Qt::Key_Enter);
    }
}

// 4 Angstroms is 1.2361 THz; the boxes keep their texts.
void FrmPevrandTest::enterConvertsFromEachBox()
{
    QFETCH(QString, box);
    QFETCH(int, key);
    select("optWavelengthIn");
    select("optNuOut");
    get<QLineEdit>("txtInputVal")->setText("4");
    QCOMPARE(output()->text(), "");
    auto *edit = get<QLineEdit>(box);
    edit->setFocus();
    const QString before = edit->text();
    const Qt::KeyboardModifiers modifiers =
        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(edit, Qt::Key(key), modifiers);
    QCOMPARE(output()->text(), "1.2361");
    QCOMPARE(edit->text(), before);
}

void FrmPevrandTest::editsClearOnlyWhatTheyInvalidate_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key"); // 0: type "5"; else the key
    QTest::addColumn<bool>("clears");
    const auto row = [](const char *name, const char *in, const char *out, const char *box, int key,
                        bool clears) {
        QTest::newRow(name) << QString(in) << QString(out) << QString(box) << key << clears;
    };
    const int type = 0, del = Qt::Key_Backspace;
    row("typing a digit in the value", "optEnergyIn", "optWavelengthOut", "txtInputVal", type,
        true);
    row("deleting in the value", "optEnergyIn", "optWavelengthOut", "txtInputVal", del, true);
    row("angle with Energy in, Q out", "optEnergyIn", "optQOut", "txtTwotheta", type, true);
    row("angle deleted with d-spacing in, velocity out", "optDspacingIn", "optVelocityOut",
        "txtTwotheta", del, true);
    row("angle unused with Q in, d-spacing out", "optQIn", "optDspacingOut", "txtTwotheta", type,
        false);
    row("angle unused with Q on both sides", "optQIn", "optQOut", "txtTwotheta", del, false);
    row("angle unused with Energy in, Wavelength out", "optEnergyIn", "optWavelengthOut",
        "txtTwotheta", type, false);
    row("flight path with time-of-flight in", "optTofIn", "optEnergyOut", "txtTotalflightpath",
        type, true);
    row("flight path deleted with time-of-flight out", "optWavelengthIn", "optTofOut",
        "txtTotalflightpath", del, true);
    row("flight path unused with time-of-flight on both sides", "optTofIn", "optTofOut",
        "txtTotalflightpath", type, false);
    row("flight path unused with Energy in, Wavelength out", "optEnergyIn", "optWavelengthOut",
        "txtTotalflightpath", del, false);
}

void FrmPevrandTest::editsClearOnlyWhatTheyInvalidate()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(bool, clears);
    convert(in, out);
    const QString result = output()->text();
    auto *edit = get<QLineEdit>(box);
    edit->setFocus();
    if (key == 0)
        QTest::keyClicks(edit, "5");
    else
        QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(output()->text(), clears ? QString() : result);
}

void FrmPevrandTest::everyOptionClickClears_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("other"); // the other group's selection, which stays
    const QStringList quantities = {"Energy",      "Wavelength", "Nu", "Velocity", "Momentum",
                                    "Temperature", "Invcm",      "Q",  "Dspacing", "Tof"};
    for (const QString &quantity : quantities) {
        const QString in = "opt" + quantity + "In", out = "opt" + quantity + "Out";
        QTest::addRow("%s", qPrintable(in)) << in << "optWavelengthOut";
        QTest::addRow("%s", qPrintable(out)) << out << "optEnergyIn";
    }
}

// Including a click on the option already selected (optEnergyIn, optWavelengthOut).
void FrmPevrandTest::everyOptionClickClears()
{
    QFETCH(QString, option);
    QFETCH(QString, other);
    auto *button = get<QRadioButton>(option);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    QVERIFY(button->isChecked());
    QVERIFY(get<QRadioButton>(other)->isChecked());
    QCOMPARE(output()->text(), "");
}

void FrmPevrandTest::arrowKeysMoveTheSelection_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::newRow("Down in the input group")
        << QString("optEnergyIn") << int(Qt::Key_Down) << QString("optWavelengthIn");
    QTest::newRow("Up in the output group")
        << QString("optWavelengthOut") << int(Qt::Key_Up) << QString("optEnergyOut");
    QTest::newRow("Down to the last output option")
        << QString("optDspacingOut") << int(Qt::Key_Down) << QString("optTofOut");
}

void FrmPevrandTest::arrowKeysMoveTheSelection()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    convert(from, from.endsWith("In") ? "optWavelengthOut" : "optEnergyIn");
    get(from)->setFocus();
    QTest::keyClick(get(from), Qt::Key(key));
    QVERIFY(get<QRadioButton>(to)->isChecked());
    QCOMPARE(QApplication::focusWidget(), get(to));
    QVERIFY(Window->testAttribute(Qt::WA_KeyboardFocusChange)); // the focus frame shows
    QCOMPARE(output()->text(), "");
}

void FrmPevrandTest::clicksMoveTheFocus_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("focus");
    const auto row = [](const char *name, const char *clicked, const char *focus) {
        QTest::newRow(name) << QString(clicked) << QString(focus);
    };
    row("label Input value", "lblInputValue", "txtInputVal");
    row("label Scattering Angle", "lblTwotheta", "txtTwotheta");
    row("label Total Flight Path", "Label2", "txtTotalflightpath");
    row("frame Input Units", "fraUnitsIn", "optEnergyIn");
    row("frame Output Units", "fraUnitsOut", "optEnergyOut");
}

// Only the focus moves: no text, selection or result changes.
void FrmPevrandTest::clicksMoveTheFocus()
{
    QFETCH(QString, clicked);
    QFETCH(QString, focus);
    select("optWavelengthIn");
    select("optNuOut");
    QTest::mouseClick(get<QPushButton>("cmdConvert"), Qt::LeftButton);
    const QString result = output()->text();
    QWidget *target = get(clicked);
    // Near the top left corner: the frames' options start lower.
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(QApplication::focusWidget(), get(focus));
    QCOMPARE(output()->text(), result);
    QVERIFY(get<QRadioButton>("optWavelengthIn")->isChecked());
    QVERIFY(get<QRadioButton>("optNuOut")->isChecked());
}

void FrmPevrandTest::accessKeys_data()
{
    QTest::addColumn<int>("letter");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("selects"); // selects the focused option, clearing the output
    const auto row = [](const char *name, Qt::Key letter, const char *focus, bool selects) {
        QTest::newRow(name) << int(letter) << QString(focus) << selects;
    };
    row("Alt+I", Qt::Key_I, "txtInputVal", false);
    row("Alt+S", Qt::Key_S, "txtTwotheta", false);
    row("Alt+T", Qt::Key_T, "txtTotalflightpath", false);
    row("Alt+E, input energy only", Qt::Key_E, "optEnergyIn", true);
    row("Alt+N, output energy only", Qt::Key_N, "optEnergyOut", true);
}

void FrmPevrandTest::accessKeys()
{
    QFETCH(int, letter);
    QFETCH(QString, focus);
    QFETCH(bool, selects);
    select("optNuIn");
    select("optNuOut");
    QTest::mouseClick(get<QPushButton>("cmdConvert"), Qt::LeftButton);
    const QString result = output()->text();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(letter), Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), get(focus));
    if (selects) {
        QTRY_VERIFY(get<QRadioButton>(focus)->isChecked());
        // The other group keeps its selection.
        QVERIFY(get<QRadioButton>(focus.endsWith("In") ? "optNuOut" : "optNuIn")->isChecked());
    }
    QTRY_COMPARE(output()->text(), selects ? QString() : result);
}

void FrmPevrandTest::pushButtonsTakeEnterAndSpace_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    for (const char *button : {"cmdConvert", "cmdQuit", "cmdAbout"}) {
        QTest::addRow("Return on %s", button) << button << int(Qt::Key_Return);
        QTest::addRow("Space on %s", button) << button << int(Qt::Key_Space);
        QTest::addRow("Alt+%c", button[3]) << button << int(Qt::Key_A + (button[3] - 'A'));
    }
}

// A focused button, or its access key, presses that button; none is the window's default.
void FrmPevrandTest::pushButtonsTakeEnterAndSpace()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    auto *push = get<QPushButton>(button);
    QVERIFY(!push->isDefault());
    QSignalSpy clicks(push, &QPushButton::clicked);
    if (key == Qt::Key_Return || key == Qt::Key_Space) {
        push->setFocus();
        QTest::keyClick(push, Qt::Key(key));
    } else {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier);
    }
    QTRY_COMPARE(clicks.size(), 1);
}

void FrmPevrandTest::aboutOpensOneWindowBesideTheMain()
{
    const auto aboutWindows = [] {
        QList<QWidget *> found;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == "frmAbout" && top->isVisible())
                found << top;
        return found;
    };
    QTest::mouseClick(get("cmdAbout"), Qt::LeftButton);
    QTest::keyClick(get("txtInputVal"), Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(aboutWindows().size(), 1);
    QCOMPARE(aboutWindows().first()->windowTitle(), "About Pevrand");
    QVERIFY(aboutWindows().first()->parentWidget() == nullptr); // modeless, no owner
    QVERIFY(Window->isEnabled());
}

void FrmPevrandTest::escapeAndEnterElsewhereDoNothing()
{
    QSignalSpy clicks(get<QPushButton>("cmdConvert"), &QPushButton::clicked);
    QTest::keyClick(get("txtInputVal"), Qt::Key_Escape);
    get("optEnergyIn")->setFocus();
    QTest::keyClick(get("optEnergyIn"), Qt::Key_Return);
    QTest::keyClick(get("optEnergyIn"), Qt::Key_Escape);
    QVERIFY(Window->isVisible());
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(output()->text(), "1.8087");
}

void FrmPevrandTest::outputIsReadOnlyButCopyable()
{
    QLineEdit *box = output();
    box->setFocus();
    QCOMPARE(QApplication::focusWidget(), box);
    QApplication::clipboard()->setText("777");
    QTest::keyClicks(box, "9");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), "1.8087");
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), "1.8087");
}

void FrmPevrandTest::screenReaderNamesAndResult_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("name");
    QTest::newRow("value") << QString("txtInputVal") << QString("Input value:");
    QTest::newRow("angle") << QString("txtTwotheta")
                           << QString("Scattering Angle 2 theta (degrees):");
    QTest::newRow("flight path") << QString("txtTotalflightpath")
                                 << QString("Total Flight Path (metres)");
    QTest::newRow("result") << QString("txtOutputVal") << QString("Output Value:");
}

void FrmPevrandTest::screenReaderNamesAndResult()
{
    QFETCH(QString, box);
    QFETCH(QString, name);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(get(box));
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    QCOMPARE(accessible->text(QAccessible::Value), get<QLineEdit>(box)->text());
    QCOMPARE(accessible->state().readOnly, box == "txtOutputVal");
    if (box == "txtOutputVal")
        QCOMPARE(accessible->text(QAccessible::Value), "1.8087");
}

void FrmPevrandTest::tabVisitsOneStopPerGroup_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("start-up selection") << QString("optEnergyIn") << QString("optWavelengthOut");
    QTest::newRow("time-of-flight in, Q out") << QString("optTofIn") << QString("optQOut");
    QTest::newRow("d-spacing in, time-of-flight out")
        << QString("optDspacingIn") << QString("optTofOut");
}

void FrmPevrandTest::tabVisitsOneStopPerGroup()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    select(in);
    select(out);
    const QStringList chain = {
        "txtInputVal", "txtTwotheta", "txtTotalflightpath", in,         out,
        "cmdConvert",  "cmdQuit",     "txtOutputVal",       "cmdAbout", "txtInputVal"};
    get(chain.front())->setFocus();
    for (qsizetype i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), chain[i]);
    }
    for (qsizetype i = chain.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), chain[i]);
    }
}

void FrmPevrandTest::captionsFitTheirControls_data()
{
    QTest::addColumn<QString>("control");
    for (const char *name :
         {"lblInput", "lblInputValue", "lblTwotheta", "Label2", "lblOutput", "Label1", "lblAuthor",
          "fraUnitsIn", "fraUnitsOut", "cmdConvert", "cmdAbout", "cmdQuit"})
        QTest::newRow(name) << name;
    for (const char *quantity : {"Energy", "Wavelength", "Nu", "Velocity", "Momentum",
                                 "Temperature", "Invcm", "Q", "Dspacing", "Tof"})
        for (const char *side : {"In", "Out"}) {
            const QString name = QStringLiteral("opt%1%2").arg(quantity, side);
            QTest::newRow(qPrintable(name)) << name;
        }
}

// The room the style gives a caption against the size the caption's font needs, so that a
// change of font or text that clips a caption fails here.
void FrmPevrandTest::captionsFitTheirControls()
{
    QFETCH(QString, control);
    QWidget *widget = get(control);
    const QFontMetrics metrics = widget->fontMetrics();
    QRect room, need;
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        room = label->contentsRect();
        need = metrics.boundingRect(
            room, int(label->alignment()) | Qt::TextWordWrap | Qt::TextShowMnemonic, label->text());
    } else if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        room = frame->rect();
        need = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                              QStyle::SC_GroupBoxLabel, frame);
    } else {
        auto *button = qobject_cast<QAbstractButton *>(widget);
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const bool isOption = qobject_cast<QRadioButton *>(button) != nullptr;
        if (!isOption)
            option.features |= QStyleOptionButton::AutoDefaultButton;
        room = button->style()->subElementRect(isOption ? QStyle::SE_RadioButtonContents
                                                        : QStyle::SE_PushButtonContents,
                                               &option, button);
        need = QRect(room.topLeft(), metrics.size(Qt::TextShowMnemonic, button->text()));
    }
    QVERIFY2(room.contains(need), qPrintable(QStringLiteral("needs %1x%2, has %3x%4")
                                                 .arg(need.width())
                                                 .arg(need.height())
                                                 .arg(room.width())
                                                 .arg(room.height())));
}

void FrmPevrandTest::fixedSizeCentredNoMaximise()
{
    QCOMPARE(Window->size(), QSize(371, 574));
    QCOMPARE(Window->minimumSize(), Window->maximumSize());
    const Qt::WindowFlags flags = Window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    // The frame is centred; before the first show it is taken to be no wider than the client
    // area, so the centre may be off by the frame's margins, never more.
    const QRect available = Window->screen()->availableGeometry();
    const QRect frame = Window->frameGeometry();
    const QMargins margins = Window->windowHandle()->frameMargins();
    QVERIFY(available.contains(frame));
    QVERIFY((frame.center() - available.center()).manhattanLength() <=
            1 + margins.left() + margins.right() + margins.top() + margins.bottom());
}

void FrmPevrandTest::quitAndCloseBoxEndTheWindow_data()
{
    QTest::addColumn<bool>("byQuit");
    QTest::newRow("Quit button") << true;
    QTest::newRow("close box") << false;
}

// The window unloads itself; the program ends with its last window.
void FrmPevrandTest::quitAndCloseBoxEndTheWindow()
{
    QFETCH(bool, byQuit);
    if (byQuit)
        QTest::mouseClick(get<QPushButton>("cmdQuit"), Qt::LeftButton);
    else
        Window->close();
    QTRY_VERIFY(Window.isNull());
    for (const QWidget *top : QApplication::topLevelWidgets())
        QVERIFY(!top->isVisible());
    QVERIFY(QApplication::quitOnLastWindowClosed());
}

void FrmPevrandTest::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    for (const pevrand::ControlDesign &control : pevrand::main_window::Controls) {
        const QString name = QString::fromLatin1(control.Name.data(), control.Name.size());
        QTest::newRow(qPrintable(name)) << name;
    }
}

// Each control of the table sits where it is drawn, in its frame, with its tooltip.
void FrmPevrandTest::controlsAsDesigned()
{
    QFETCH(QString, name);
    using namespace pevrand;
    const ControlDesign &design = *FindControl(main_window::Window, name.toStdString());
    QWidget *widget = get(name);
    const QString parent = design.Frame.empty() ? "frmPevrand" : QString::fromLatin1(design.Frame);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    if (design.Kind != ControlKind::Line)
        QCOMPARE(widget->geometry(), Pixels(design.Box));
    QCOMPARE(widget->toolTip(), QString::fromLatin1(design.ToolTip));
}

// Label1 two pixels wider and Label2 one taller than drawn, so that their captions show whole.
void FrmPevrandTest::widenedLabelsStayWidened()
{
    QCOMPARE(get("Label1")->size(), QSize(67, 17));
    QCOMPARE(get("Label2")->size(), QSize(73, 26));
}

void FrmPevrandTest::everySelectionClears_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("how");
    for (const char *how : {"screen reader toggles", "click on the blank end selects"})
        for (int i = 0; i < UnitCount; ++i)
            for (const char *side : {"In", "Out"})
                QTest::addRow("%s %s", how, qPrintable(Option(i, side))) << Option(i, side) << how;
    QTest::newRow("program selects optTofIn") << QString("optTofIn") << QString("program");
    QTest::newRow("program selects optQOut") << QString("optQOut") << QString("program");
}

// However an option comes to be selected, the result beside it goes and the other group keeps
// its selection. The whole designed box of an option is the option, not only dot and caption.
void FrmPevrandTest::everySelectionClears()
{
    QFETCH(QString, option);
    QFETCH(QString, how);
    const QString base = option.startsWith("optNu") ? "Energy" : "Nu";
    convert("opt" + base + "In", "opt" + base + "Out");
    auto *other = get<QRadioButton>("opt" + base + (option.endsWith("In") ? "Out" : "In"));
    auto *button = get<QRadioButton>(option);
    if (how.startsWith("screen reader")) {
        QAccessibleActionInterface *actions =
            QAccessible::queryAccessibleInterface(button)->actionInterface();
        QVERIFY(actions);
        actions->doAction(QAccessibleActionInterface::toggleAction());
    } else if (how.startsWith("click")) {
        QTest::mouseClick(button, Qt::LeftButton, {}, {button->width() - 2, button->height() / 2});
        QCOMPARE(QApplication::focusWidget(), button);
    } else {
        button->setChecked(true);
    }
    QVERIFY(button->isChecked());
    QVERIFY(other->isChecked());
    QCOMPARE(output()->text(), "");
}

void FrmPevrandTest::arrowKeysWalkTheGroupAndWrap_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    const struct {
        Qt::Key key;
        const char *name;
        int step;
    } keys[] = {{Qt::Key_Down, "Down", 1},
                {Qt::Key_Right, "Right", 1},
                {Qt::Key_Up, "Up", -1},
                {Qt::Key_Left, "Left", -1}};
    for (const char *side : {"In", "Out"})
        for (int i = 0; i < UnitCount; ++i)
            for (const auto &key : keys) {
                const QString from = Option(i, side);
                const QString to = Option((i + key.step + UnitCount) % UnitCount, side);
                QTest::addRow("%s from %s to %s", key.name, qPrintable(from), qPrintable(to))
                    << from << int(key.key) << to;
            }
}

// The group's order, not the options' positions or widths, picks the next option; the ends
// wrap around, and the new option is selected, focused (with its focus frame) and clears the
// output.
void FrmPevrandTest::arrowKeysWalkTheGroupAndWrap()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    const bool input = from.endsWith("In");
    const QString other = input ? "optNuOut" : "optNuIn";
    convert(input ? from : other, input ? other : from);
    get(from)->setFocus();
    QTest::keyClick(get(from), Qt::Key(key));
    QVERIFY(get<QRadioButton>(to)->isChecked());
    QCOMPARE(QApplication::focusWidget(), get(to));
    QVERIFY(Window->testAttribute(Qt::WA_KeyboardFocusChange)); // the focus frame shows
    QVERIFY(get<QRadioButton>(other)->isChecked());
    QCOMPARE(output()->text(), "");
}

void FrmPevrandTest::tabStopStaysOnTheSelectedOption_data()
{
    QTest::addColumn<QString>("frame");    // clicked, which focuses its unselected Energy option
    QTest::addColumn<QString>("selected"); // the group's selected option
    QTest::addColumn<QString>("start");    // where the key is pressed; empty: the Energy option
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    const auto row = [](const char *name, const char *frame, const char *selected,
                        const char *start, Qt::Key key, const char *focus) {
        QTest::newRow(name) << QString(frame) << QString(selected) << QString(start) << int(key)
                            << QString(focus);
    };
    const Qt::Key tab = Qt::Key_Tab, back = Qt::Key_Backtab;
    const char *in = "fraUnitsIn", *out = "fraUnitsOut";
    row("Tab enters the input group at its selection", in, "optNuIn", "txtTotalflightpath", tab,
        "optNuIn");
    row("Shift+Tab enters the input group at its selection", in, "optNuIn", "optWavelengthOut",
        back, "optNuIn");
    row("Tab leaves the focused unselected input option", in, "optNuIn", "", tab,
        "optWavelengthOut");
    row("Shift+Tab leaves the focused unselected input option", in, "optNuIn", "", back,
        "txtTotalflightpath");
    row("Tab enters the output group at its selection", out, "optQOut", "optEnergyIn", tab,
        "optQOut");
    row("Shift+Tab enters the output group at its selection", out, "optQOut", "cmdConvert", back,
        "optQOut");
    row("Tab leaves the focused unselected output option", out, "optQOut", "", tab, "cmdConvert");
    row("Shift+Tab leaves the focused unselected output option", out, "optQOut", "", back,
        "optEnergyIn");
}

// A frame click focuses the group's Energy option without selecting it; the group's Tab stop
// stays on its selected option, so Tab and then Space can't change the unit.
void FrmPevrandTest::tabStopStaysOnTheSelectedOption()
{
    QFETCH(QString, frame);
    QFETCH(QString, selected);
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, focus);
    select(selected);
    QTest::mouseClick(get(frame), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(QApplication::focusWidget()->objectName(),
             frame == "fraUnitsIn" ? "optEnergyIn" : "optEnergyOut");
    if (!start.isEmpty())
        get(start)->setFocus();
    const Qt::KeyboardModifiers modifiers =
        key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    if (focus == selected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(get<QRadioButton>(selected)->isChecked());
    }
}

void FrmPevrandTest::everyPairConvertsAsTheCommand_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("expected");
    for (int from = 0; from < UnitCount; ++from)
        for (int to = 0; to < UnitCount; ++to) {
            const std::string expected =
                pevrand::RunConvert({"2.5", "30", "12.5", Quantity(from), Quantity(to)}).OutputText;
            QTest::addRow("%s to %s", Units[from], Units[to])
                << Option(from, "In") << Option(to, "Out") << QString::fromStdString(expected);
        }
}

// Each option stands for its own quantity: the window's result for a pair of options is the
// command's for that pair of quantities, with both geometry boxes filled.
void FrmPevrandTest::everyPairConvertsAsTheCommand()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QFETCH(QString, expected);
    QVERIFY(!expected.isEmpty());
    for (const QString &option : {in, out}) {
        auto *button = get<QRadioButton>(option);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    auto *value = get<QLineEdit>("txtInputVal");
    value->clear();
    QTest::keyClicks(value, "2.5");
    get<QLineEdit>("txtTwotheta")->setText("30");
    get<QLineEdit>("txtTotalflightpath")->setText("12.5");
    QTest::mouseClick(get<QPushButton>("cmdConvert"), Qt::LeftButton);
    QCOMPARE(output()->text(), expected);
}

QTEST_MAIN(FrmPevrandTest)
#include "frmPevrandTest.moc"
