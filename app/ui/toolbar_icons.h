#pragma once
// The program's own icons, drawn rather than shipped: toolbar buttons (by button key), tree
// nodes (by node key) and the application icon.

#include <QIcon>
#include <QString>

namespace n27 {

QIcon ToolbarIcon(const QString &key);
QIcon ApplicationIcon();

}  // namespace n27
