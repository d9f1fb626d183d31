#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace zav::test {

// The one application object of the Qt tests, on the offscreen platform, with the German texts
// the program installs.
QApplication& TestApp();

// The button of a dialog with the given text, or null.
QAbstractButton* ButtonWithText(QWidget* dialog, const QString& text);

// The window's control with this object name; a missing one fails the test.
template <typename Control = QWidget>
Control* Find(QWidget* window, const char* name) {
    if (auto* control = window->findChild<Control*>(QString::fromLatin1(name))) {
        return control;
    }
    throw std::runtime_error(std::string("no control ") + name);
}

// Sends one key press and release to a widget.
void PressKey(QWidget* widget, int key);

// Answers the modal dialogs a handler opens, one step per dialog, from inside the dialogs' own
// event loops. A step gets the dialog on top and gives true once it has dealt with it (false:
// try again at the next turn of the loop, for dialogs that fill themselves in the background).
// A dialog no step is left for, or a step that waits far too long, closes the dialog and marks the
// script as failed, so a missing step fails the test instead of blocking it.
class DialogScript {
public:
    using Step = std::function<bool(QWidget* dialog)>;

    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    DialogScript& Then(Step step);
    // Titles of the dialogs the steps were given, in order.
    const QStringList& Titles() const { return titles_; }
    bool Done() const { return steps_.empty(); }
    // A dialog came that no step was left for, or a step never managed its dialog.
    bool GaveUp() const { return gaveUp_; }

private:
    void Tick();

    QTimer timer_;
    std::deque<Step> steps_;
    QPointer<QWidget> current_;
    QPointer<QWidget> handled_;
    QStringList titles_;
    int idleTicks_ = 0;
    bool gaveUp_ = false;
};

// Steps for the common answers. A step must not block: Qt does not fire the script's timer again
// while a step runs, so what may open a dialog is queued to run after the step.
DialogScript::Step ClickButton(const QString& text);
DialogScript::Step PressKeyStep(int key);
// Reads a message box's title and text into seen, then presses one of its buttons.
DialogScript::Step Answer(const QString& button, QStringList& seen);

}  // namespace zav::test
