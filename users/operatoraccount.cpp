#include "users/operatoraccount.h"

#include <QDebug>
#include <QDir>
#include <QSettings>

OperatorAccount::OperatorAccount(const QString &folder) : m_folder(folder) {}

QString OperatorAccount::filePath(const char *file) const
{
    return m_folder + QString::fromLatin1(file);
}

OperatorAccount::Credentials OperatorAccount::readAccount() const
{
    QDir().mkpath(m_folder);
    const QSettings settings(filePath(kAccountFile), QSettings::IniFormat);
    const QString passwordKey = QString::fromLatin1(kPasswordKey);
    const Credentials stored{settings.value(QString::fromLatin1(kUserNameKey)).toString(),
                             settings.value(passwordKey).toString()};
    // Every write stores both keys: a user name without a password is a file cut short. Its
    // parse status cannot tell: Qt reports a format error only to the first reader of a file.
    if (stored.userName.isEmpty() || !settings.contains(passwordKey))
        return {QString::fromLatin1(kBuiltInUserName), QString::fromLatin1(kBuiltInPassword)};
    return stored;
}

QString OperatorAccount::storedUserName() const
{
    return readAccount().userName;
}

QString OperatorAccount::storedPassword() const
{
    return readAccount().password;
}

OperatorAccount::LoginResult OperatorAccount::checkLogin(const QString &userName, const QString &password) const
{
    const Credentials stored = readAccount();
    if (userName != stored.userName)
        return WrongUserName;
    if (password != stored.password)
        return WrongPassword;
    return Accepted;
}

bool OperatorAccount::checkPassword(const QString &text) const
{
    return text == storedPassword();
}

OperatorAccount::Credentials OperatorAccount::remembered() const
{
    QDir().mkpath(m_folder);
    const QSettings settings(filePath(kRememberFile), QSettings::IniFormat);
    return {settings.value(QString::fromLatin1(kUserNameKey)).toString(),
            settings.value(QString::fromLatin1(kPasswordKey)).toString()};
}

bool OperatorAccount::remember(const QString &userName, const QString &password)
{
    return write(kRememberFile, {userName, password});
}

OperatorAccount::ChangeResult OperatorAccount::changePassword(const QString &oldPassword, const QString &newPassword,
                                                              const QString &confirmPassword)
{
    const Credentials stored = readAccount();
    if (oldPassword != stored.password)
        return WrongOld;
    if (newPassword != confirmPassword)
        return Mismatch;
    return write(kAccountFile, {stored.userName, newPassword}) ? Changed : WriteFailed;
}

bool OperatorAccount::reset()
{
    return write(kAccountFile, {QString::fromLatin1(kBuiltInUserName), QString::fromLatin1(kBuiltInPassword)});
}

bool OperatorAccount::write(const char *file, const Credentials &credentials)
{
    const QString path = filePath(file);
    if (!QDir().mkpath(m_folder)) {
        m_lastError = QStringLiteral("the folder %1 cannot be made").arg(m_folder);
        qWarning().noquote() << path << QStringLiteral("not written:") << m_lastError;
        return false;
    }
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(QString::fromLatin1(kPasswordKey), credentials.password);
    settings.setValue(QString::fromLatin1(kUserNameKey), credentials.userName);
    settings.sync();
    // A file that did not parse keeps its FormatError after a good write: only access counts.
    if (settings.status() == QSettings::AccessError) {
        m_lastError = QStringLiteral("%1 cannot be written").arg(path);
        qWarning().noquote() << path << QStringLiteral("not written: access denied");
        return false;
    }
    m_lastError.clear();
    return true;
}

QString OperatorAccount::messageTitle()
{
    return tr("提示");
}

QString OperatorAccount::changeMessage(ChangeResult result)
{
    switch (result) {
    case Changed:
        return tr("密码更新成功");
    case WrongOld:
        return tr("原密码输入错误");
    case Mismatch:
        return tr("两次输入的密码不同");
    case WriteFailed:
        break;
    }
    return tr("密码保存失败，请检查配置文件夹");
}

QString OperatorAccount::resetMessage(bool done)
{
    return done ? tr("密码重置成功") : tr("密码重置失败，请检查配置文件夹");
}
