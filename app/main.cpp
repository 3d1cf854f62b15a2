// Pevrand's start: the main window, then the event loop until the last window is gone.
#include "ui/main/qt/frmPevrand.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    auto *window = new pevrand::frmPevrand; // deletes itself when closed
    window->show();
    return app.exec();
}
