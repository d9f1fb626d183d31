#pragma once

#include <QIcon>

namespace zav::qt {

// The program's icon for the window and the task bar: the Windows .ico, compiled in as a resource,
// with its images of 256, 48, 32, 24 and 16 pixels.
inline QIcon CreateAppIcon() {
    return QIcon(QStringLiteral(":/ZavCoronaUpdate.ico"));
}

}  // namespace zav::qt
