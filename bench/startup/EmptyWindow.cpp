// The floor for any Qt program here: an empty window of the main window's size. With
// --one-label it shows one line of text, the floor for any window with text (the first text
// sets up the font machinery, which the empty window never needs).
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty"));
    window.setFixedSize(371, 574);
    if (argc > 1 && std::strcmp(argv[1], "--one-label") == 0)
        new QLabel(QStringLiteral("Input value:"), &window);
    window.show();
    return app.exec();
}
