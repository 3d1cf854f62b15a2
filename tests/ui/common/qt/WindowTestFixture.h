// What the window suites share: finding a window's controls by name, and answering every modal
// window that opens while a test runs, so that a surprise dialog fails the test at once instead
// of hanging it until the suite's timeout.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace window_test
{

// The control named `name` among the children of `window`; a missing one ends the suite with
// its name, since every later step would only fail more obscurely.
template <class Control = QWidget> Control *Find(const QWidget *window, const QString &name)
{
    auto *control = window->findChild<Control *>(name);
    if (!control)
        qFatal("no control %s", qPrintable(name));
    return control;
}

// What a message box showed, and whose it was.
struct Message {
    QString text, title, objectName;
    qsizetype buttons;
    QMessageBox::Icon icon;
    Qt::WindowModality modality;
    QPointer<QWidget> parent;
};

// Answers every modal window that opens while it lives: records a message box and presses
// Enter on it, closes anything else and records its class. A test takes the messages it
// expects from Messages; Verify, from the suite's cleanup, fails the test on any left over.
class ModalAnswerer : public QObject
{
public:
    ModalAnswerer()
    {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::answer);
        timer_.start();
    }

    QList<Message> Messages;
    QStringList Others;

    // Each message as "title: text", in the order shown.
    QStringList Texts() const
    {
        QStringList texts;
        for (const Message &message : Messages)
            texts << message.title + QStringLiteral(": ") + message.text;
        return texts;
    }

    // True when no message and no other modal window is left unaccounted for; otherwise
    // records a failure of the running test that names the first one.
    bool Verify() const
    {
        if (!Messages.isEmpty())
            QTest::qFail(qPrintable("unexpected message: " + Messages.first().text), __FILE__,
                         __LINE__);
        else if (!Others.isEmpty())
            QTest::qFail(qPrintable("unexpected modal window: " + Others.join(", ")), __FILE__,
                         __LINE__);
        return Messages.isEmpty() && Others.isEmpty();
    }

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            Others.append(QString::fromLatin1(modal->metaObject()->className()));
            modal->close();
            return;
        }
        Messages.append({box->text(), box->windowTitle(), box->objectName(), box->buttons().size(),
                         box->icon(), box->windowModality(), box->parentWidget()});
        QTest::keyClick(box, Qt::Key_Return);
    }

    QTimer timer_;
};

} // namespace window_test
