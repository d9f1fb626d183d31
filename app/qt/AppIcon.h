#pragma once

#include <QIcon>

namespace zav::qt {

// The program's icon for the window and the task bar, painted at 256, 48, 32, 24 and 16 pixels:
// a ledger sheet on a blue tile with an orange percent badge, as on Windows.
QIcon CreateAppIcon();

}  // namespace zav::qt
