// The main window: the value to convert, the two groups of unit options, the geometry fields
// the conversion may need, and the result.
//
// Input flows one way. Convert (the button, Enter in an entry box, or the start-up) reads the
// three entry texts and the selected option of each group into a ConvertRequest, hands it to
// RunConvert, and writes back what comes out: the result text, or a message and a focus move.
// Every other reaction only empties the output box, so a result on show always belongs to the
// entries and units beside it, or moves the focus. The window computes and checks nothing.
#pragma once

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace pevrand
{

enum class FocusTarget;

class frmPevrand : public QWidget
{
    Q_OBJECT

public:
    // Creates the window with its controls, runs its start-up (the defaults and the first
    // conversion) and places it centred on the screen, ready to show. It deletes itself when
    // closed.
    explicit frmPevrand(QWidget *parent = nullptr);

private slots:
    void Form_Load();

    void cmdConvert_Click();
    void cmdQuit_Click();
    void cmdAbout_Click();

    void txtInputVal_Change();
    void txtInputVal_KeyPress(int key);
    void txtTwotheta_Change();
    void txtTwotheta_KeyPress(int key);
    void txtTotalflightpath_Change();
    void txtTotalflightpath_KeyPress(int key);

    void lblInputValue_Click();
    void lblTwotheta_Click();
    void Label2_Click();
    void fraUnitsIn_Click();
    void fraUnitsOut_Click();

    // The Click of every option of the group: any selection of an option, however it is made
    // (mouse, keyboard, screen reader, the program), and a click on the option already
    // selected. `quantity` is the option's Quantity.
    void fraUnitsIn_OptionClick(int quantity);
    void fraUnitsOut_OptionClick(int quantity);

private:
    void createControls();
    void connectReactions();
    void chainTabOrder();
    void placeCentred();
    void moveFocusAfterMessage(FocusTarget target);

    // The controls the reactions work on; the window creates every control of its table.
    QLabel *lblInputValue;
    QLineEdit *txtInputVal;
    QGroupBox *fraUnitsIn;
    QRadioButton *optEnergyIn;
    QLabel *lblTwotheta;
    QLineEdit *txtTwotheta;
    QLabel *Label2;
    QLineEdit *txtTotalflightpath;
    QGroupBox *fraUnitsOut;
    QRadioButton *optEnergyOut;
    QLineEdit *txtOutputVal;
    QPushButton *cmdConvert;
    QPushButton *cmdAbout;
    QPushButton *cmdQuit;

    // The options of each frame, with their Quantity as id.
    QButtonGroup *InputUnits;
    QButtonGroup *OutputUnits;
};

} // namespace pevrand
