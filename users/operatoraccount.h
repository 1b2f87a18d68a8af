#pragma once

#include <QCoreApplication>
#include <QString>

// The one operator account and the remembered login, kept as plain text in two ini files. When
// no account is stored (no file, a file without a user name, or one cut short before its
// password), the built-in account is in force, so empty fields never let anyone in.
class OperatorAccount
{
    Q_DECLARE_TR_FUNCTIONS(OperatorAccount)
public:
    static constexpr const char *kFolder = "./DependFile/conf/";
    static constexpr const char *kAccountFile = "IDconf.ini";
    static constexpr const char *kRememberFile = "remberIDconf.ini";
    static constexpr const char *kUserNameKey = "userName";
    static constexpr const char *kPasswordKey = "password";
    static constexpr const char *kBuiltInUserName = "zenk";
    static constexpr const char *kBuiltInPassword = "482915";

    enum ChangeResult { Changed, WrongOld, Mismatch, WriteFailed };
    enum LoginResult { Accepted, WrongUserName, WrongPassword };

    struct Credentials
    {
        QString userName;
        QString password;
    };

    // folder ends with a slash; the product's is kFolder, relative to the working folder.
    explicit OperatorAccount(const QString &folder = QString::fromLatin1(kFolder));

    QString storedUserName() const;
    QString storedPassword() const;
    // The user name is checked first: a wrong one says nothing about the password.
    LoginResult checkLogin(const QString &userName, const QString &password) const;
    // For the torque dialog: the text equals the stored password.
    bool checkPassword(const QString &text) const;

    // What the login form is filled with; empty texts when nothing was remembered.
    Credentials remembered() const;
    bool remember(const QString &userName, const QString &password);

    // An empty new password is accepted. The user name in force is written with it, so that a
    // change made under the built-in account holds.
    ChangeResult changePassword(const QString &oldPassword, const QString &newPassword,
                                const QString &confirmPassword);
    // Writes the built-in account; no question asked.
    bool reset();

    // Why the last write failed, for the log.
    QString lastError() const { return m_lastError; }

    // The texts the settings page shows: WrongOld under originalPasswordTips_Label, Mismatch
    // under confirmPasswordTips_Label, Changed and WriteFailed in a warning box titled
    // messageTitle() with one OK button; the reset's outcome likewise in a box.
    static QString messageTitle();
    static QString changeMessage(ChangeResult result);
    static QString resetMessage(bool done);

private:
    Credentials readAccount() const;
    bool write(const char *file, const Credentials &credentials);
    QString filePath(const char *file) const;

    QString m_folder;
    QString m_lastError;
};
