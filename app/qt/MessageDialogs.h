#pragma once

#include <QString>

#include "app/MainView.h"

class QWidget;

namespace zav::qt {

// The title of each kind of message dialog.
QString DialogTitle(DialogKind kind);

// A modal message dialog of the given kind over parent, centred on the screen: its title, icon,
// buttons and default button follow the kind. Gives kResultYes or kResultNo for a confirmation
// and kResultOk otherwise; Escape and the close box give kResultNo or kResultOk.
int ShowMessageDialog(QWidget* parent, const QString& text, DialogKind kind);

// The error box: stop icon, one OK button, the application title.
void ShowErrorBox(QWidget* parent, const QString& title, const QString& text);

}  // namespace zav::qt
