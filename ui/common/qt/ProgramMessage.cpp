#include "ProgramMessage.h"

#include "resources/ProgramIdentity.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

namespace pevrand
{

void ShowProgramMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral(PEVRAND_TITLE), text, QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("ProgramMessage"));
    box.setWindowModality(Qt::ApplicationModal);
    // Some styles put a stock icon on dialog buttons; the program's messages show none.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

} // namespace pevrand
