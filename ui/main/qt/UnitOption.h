// An option of a unit group that behaves as an option of a Windows option group.
#pragma once

#include <QRadioButton>

namespace pevrand
{

// A radio button in a QButtonGroup (the frame's group of unit options) that:
// - selects itself on a click anywhere in its box, not only on its dot and caption;
// - answers Down and Right with the group's next option, Up and Left with its previous one, in
//   the order the options were added to the group, wrapping at the ends; the new option is
//   selected (a click, so the group's clicked and toggled signals fire) and focused;
// - keeps the group's one Tab stop on the selected option, however the focus arrived;
// - leaves the group on Tab or Shift+Tab, even while focused without being selected.
class UnitOption : public QRadioButton
{
    Q_OBJECT

public:
    UnitOption(const QString &caption, QWidget *parent);

protected:
    bool hitButton(const QPoint &position) const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
};

} // namespace pevrand
