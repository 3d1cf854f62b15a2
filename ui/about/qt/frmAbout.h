// The About window: the program's title, version and author, the picture of the conversion
// factors, and two buttons. OK closes it; System Info hands over to the launcher, which starts
// the system-information tool or says that it is unavailable.
//
// The window is modeless and has no owner, so it lives beside the main window rather than on
// top of it: the program goes on running while it is open, also after the main window has
// closed. Closing it in any way (OK, Enter, Escape, the close box) discards it; the next
// opening builds it anew and sets its texts again.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>

class QLabel;
class QPushButton;

namespace pevrand
{

class frmAbout : public QDialog
{
    Q_OBJECT

public:
    // Loads the About window when none is open (its Form_Load sets the texts), places it
    // centred over `mainWindow` (over the screen when that is null) and shows it modeless and
    // without owner. When one is already open, only brings that one to the front. There is
    // never a second About window. Returns the window on show.
    static frmAbout *ShowFor(QWidget *mainWindow);

    // The About window that is open now, or null.
    static frmAbout *OpenWindow();

    // Starts the system-information tool, or shows "System Information Is Unavailable At This
    // Time" in the program's message box. Every call searches afresh.
    void StartSysInfo();

    // Reads value `SubKeyRef` of key `KeyName` below the registry root `KeyRoot` into `KeyVal`
    // as text; true when it was read, false with `KeyVal` empty when it could not be.
    bool GetKeyValue(std::int32_t KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                     std::string &KeyVal);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private slots:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    // Creates the controls at their places; the texts come from Form_Load.
    frmAbout();
    void createControls();
    void placeCentredOver(const QWidget *mainWindow);

    QWidget *Image2;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QLabel *lblDescription;
    QWidget *Image1;
    std::array<QWidget *, 2> Line1; // the etched separator: [0] white, [1] grey over it
    QLabel *lblDisclaimer;
    QPushButton *cmdSysInfo;
    QPushButton *cmdOK;
};

} // namespace pevrand
