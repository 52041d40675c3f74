#pragma once
/// Qt's own Chinese texts for its standard dialogs and buttons (打开, 取消, 文件名), so that the file
/// dialogs and message boxes speak the window's language whatever the desktop's locale.

class QCoreApplication;

namespace ep::qt {

/// Installs the translations into the application; false when they are not installed on the system (the
/// dialogs then stay in English).
bool InstallChineseTranslations(QCoreApplication& application);

} // namespace ep::qt
