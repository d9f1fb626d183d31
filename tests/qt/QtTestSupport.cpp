#include "QtTestSupport.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <cstdlib>

#include "app/qt/FrontEnd.h"

namespace zav::test {
namespace {

constexpr int kTickMs = 5;
// About a minute of turns with no dialog to answer before the script gives up.
constexpr int kGiveUpTicks = 12000;

}  // namespace

QApplication& TestApp() {
    static int argc = 1;
    static char name[] = "ZavCoronaUpdate";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        auto* created = new QApplication(argc, argv);
        zav::qt::InstallGermanTranslation(*created);
        return created;
    }();
    return *app;
}

QAbstractButton* ButtonWithText(QWidget* dialog, const QString& text) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == text && button->isVisible()) {
            return button;
        }
    }
    return nullptr;
}

void PressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

DialogScript::DialogScript() {
    TestApp();
    timer_.setInterval(kTickMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
}

DialogScript::~DialogScript() {
    timer_.stop();
}

DialogScript& DialogScript::Then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

void DialogScript::Tick() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || !dialog->isVisible() || dialog == handled_) {
        return;
    }
    if (dialog != current_) {
        current_ = dialog;
        titles_.push_back(dialog->windowTitle());
    }
    if (steps_.empty()) {
        // A dialog nobody expected: close it so the handler can end, and let the test see it.
        gaveUp_ = true;
        handled_ = dialog;
        dialog->close();
        return;
    }
    if (steps_.front()(dialog)) {
        steps_.pop_front();
        handled_ = dialog;
        idleTicks_ = 0;
    } else if (++idleTicks_ > kGiveUpTicks) {
        gaveUp_ = true;
        handled_ = dialog;
        dialog->close();
    }
}

DialogScript::Step ClickButton(const QString& text) {
    return [text](QWidget* dialog) {
        QAbstractButton* button = ButtonWithText(dialog, text);
        if (button == nullptr) {
            return false;
        }
        // Clicked from the event loop: a dialog the click opens then gets its own turn.
        QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
        return true;
    };
}

DialogScript::Step PressKeyStep(int key) {
    return [key](QWidget* dialog) {
        QPointer<QWidget> target(dialog);
        QTimer::singleShot(0, [target, key] {
            if (target) {
                PressKey(target, key);
            }
        });
        return true;
    };
}

DialogScript::Step Answer(const QString& button, QStringList& seen) {
    return [button, &seen](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (box == nullptr) {
            return false;
        }
        seen << box->windowTitle() + ": " + box->text();
        return ClickButton(button)(dialog);
    };
}

}  // namespace zav::test
