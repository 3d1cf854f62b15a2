// The main window's twin without Pevrand: the same widgets, captions, tooltips, faces, colours
// and places, read from the window's description, with the first result typed in, but no
// engine, reactions, placement or icon. Pevrand's start-up is held against this window, as its
// cost is what any window that shows the same controls pays; what lies beyond it is Pevrand's.
#include "ui/main/MainWindowDesign.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>

#include <map>
#include <string_view>

namespace
{
QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect Pixels(const pevrand::TwipsRect &box)
{
    using pevrand::TwipsToPixels;
    return {TwipsToPixels(box.Left), TwipsToPixels(box.Top), TwipsToPixels(box.Width),
            TwipsToPixels(box.Height)};
}
} // namespace

int main(int argc, char *argv[])
{
    using namespace pevrand;
    QApplication app(argc, argv);
    const WindowDesign &design = main_window::Window;
    QWidget window;
    window.setWindowTitle(Text(design.Caption));
    window.setFixedSize(TwipsToPixels(design.ClientWidth), TwipsToPixels(design.ClientHeight));
    if (design.Background) {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(design.Background->Red, design.Background->Green,
                                                  design.Background->Blue));
        window.setPalette(palette);
        window.setAutoFillBackground(true);
    }
    std::map<std::string_view, QWidget *> frames;
    for (const ControlDesign &control : design.Controls) {
        QWidget *parent = control.Frame.empty() ? &window : frames.at(control.Frame);
        QWidget *widget = nullptr;
        switch (control.Kind) {
        case ControlKind::Label:
            widget = new QLabel(Text(control.Caption), parent);
            static_cast<QLabel *>(widget)->setWordWrap(true);
            break;
        case ControlKind::TextBox:
            widget = new QLineEdit(parent);
            if (control.Name == "txtOutputVal")
                static_cast<QLineEdit *>(widget)->setText(QStringLiteral("1.8087"));
            break;
        case ControlKind::Frame:
            widget = new QGroupBox(Text(control.Caption), parent);
            frames[control.Name] = widget;
            break;
        case ControlKind::Option:
            widget = new QRadioButton(Text(control.Caption), parent);
            static_cast<QRadioButton *>(widget)->setChecked(control.Unit == Quantity::Energy);
            break;
        case ControlKind::Button:
            widget = new QPushButton(Text(control.Caption), parent);
            break;
        case ControlKind::Line:
        case ControlKind::Picture:
            widget = new QFrame(parent);
            static_cast<QFrame *>(widget)->setFrameShape(QFrame::HLine);
            break;
        }
        widget->setGeometry(Pixels(control.Box));
        widget->setToolTip(Text(control.ToolTip));
        if (!control.Font.Family.empty()) {
            QFont font(Text(control.Font.Family));
            font.setPointSizeF(control.Font.Points);
            font.setItalic(control.Font.Italic);
            widget->setFont(font);
        }
    }
    window.show();
    return app.exec();
}
