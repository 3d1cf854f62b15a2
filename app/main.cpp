// Until the main window lands: shows the start-up conversion.
#include "ui/main/ConvertCommand.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const auto outcome = pevrand::RunConvert(
        {"25", "", "", pevrand::Quantity::Energy, pevrand::Quantity::Wavelength});
    QLabel label(QString::fromStdString("25 meV = " + outcome.OutputText + " Angstroms"));
    label.setWindowTitle("Pevrand : Neutron Units Converter");
    label.show();
    return app.exec();
}
