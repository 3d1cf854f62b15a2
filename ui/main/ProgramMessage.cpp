#include "ProgramMessage.h"

#include "resources/ProgramIdentity.h"

#include <QMessageBox>

namespace pevrand
{

void ShowProgramMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral(PEVRAND_TITLE), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("ProgramMessage"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace pevrand
