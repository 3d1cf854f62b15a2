// The main window: the value to convert, the two groups of unit options, the geometry fields
// the conversion may need, and the result.
//
// The window only draws and forwards. Every click, change of a box's text and key press of its
// controls goes by the control's designed name to MainWindowReactions, which reads the boxes
// and options back through the window's MainWindowView and tells it what to show: a result, an
// empty output box, a message and where the focus goes after it. The window computes and
// decides nothing.
#pragma once

#include "ui/main/MainWindowReactions.h"

#include <QWidget>

class QLineEdit;

namespace pevrand
{

class frmPevrand : public QWidget, private MainWindowView
{
    Q_OBJECT

public:
    // Creates the window with its controls, runs its start-up (the defaults and the first
    // conversion) and places it centred on the screen, ready to show. It deletes itself when
    // closed.
    explicit frmPevrand(QWidget *parent = nullptr);

private:
    void createControls();
    void connectReactions();
    void chainTabOrder();
    void placeCentred();

    // The window as the reactions see it, over the controls of its table.
    std::string BoxText(std::string_view box) const override;
    void SetBoxText(std::string_view box, std::string_view text) override;
    void LockOutput() override;
    std::optional<Quantity> SelectedUnit(std::string_view frame) const override;
    void SelectOption(std::string_view option) override;
    void MoveFocus(std::string_view control) override;
    void ShowMessage(std::string_view text, std::string_view focusAfter) override;
    void OpenAbout() override;
    void CloseWindow() override;

    QLineEdit *txtInputVal = nullptr;
    QLineEdit *txtOutputVal = nullptr;

    MainWindowReactions Reactions{*this};
};

} // namespace pevrand
