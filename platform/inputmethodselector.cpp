#include "platform/inputmethodselector.h"

#include <QDir>
#include <QLibraryInfo>
#include <QtGlobal>

namespace {
constexpr char kImVariable[] = "QT_IM_MODULE";
// The clinic PCs ship this keyboard plug-in.
constexpr char kWindowsKeyboard[] = "tgtsml";
constexpr char kQtVirtualKeyboard[] = "qtvirtualkeyboard";
} // namespace

QByteArray InputMethodSelector::choose(const QByteArray &current, bool windows,
                                       bool virtualKeyboardInstalled)
{
    if (windows)
        return kWindowsKeyboard;
    if (!current.isEmpty())
        return {};
    return virtualKeyboardInstalled ? QByteArray(kQtVirtualKeyboard) : QByteArray();
}

bool InputMethodSelector::virtualKeyboardInstalled()
{
    const QDir dir(QLibraryInfo::location(QLibraryInfo::PluginsPath)
                   + QStringLiteral("/platforminputcontexts"));
    return !dir.entryList({QStringLiteral("*qtvirtualkeyboardplugin*")}, QDir::Files).isEmpty();
}

void InputMethodSelector::select()
{
#ifdef Q_OS_WIN
    const bool windows = true;
#else
    const bool windows = false;
#endif
    const QByteArray value = choose(qgetenv(kImVariable), windows,
                                    !windows && virtualKeyboardInstalled());
    if (!value.isEmpty())
        qputenv(kImVariable, value);
}
