#include "app/languagemanager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

namespace {
constexpr char kLanguageKey[] = "language";
constexpr char kChineseFile[] = "./Rotaflex_CN.qm";
constexpr char kEnglishFile[] = "./Rotaflex_EN.qm";

QString settingsFolder()
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/conf/");
    QDir().mkpath(folder);
    return folder;
}
} // namespace

LanguageManager *LanguageManager::getInstance()
{
    static LanguageManager *instance = new LanguageManager;
    return instance;
}

LanguageManager::LanguageManager()
    : m_qtTranslator(new QTranslator(this))
{
    readLanguage();
}

QString LanguageManager::settingsFilePath()
{
    return settingsFolder() + QStringLiteral("IDconf.ini");
}

int LanguageManager::getLanguage() const
{
    return m_language;
}

int LanguageManager::readLanguage()
{
    const QSettings settings(settingsFilePath(), QSettings::IniFormat);
    m_language = static_cast<int>(settings.value(QLatin1String(kLanguageKey), 0u).toUInt());
    return m_language;
}

void LanguageManager::setLanguage(E_LANGUAGE lang)
{
    showLanguage(lang);
    // Only a changed choice is written: showing the page that holds the choice writes nothing.
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    if (settings.value(QLatin1String(kLanguageKey), 0u).toUInt() == static_cast<uint>(lang))
        return;
    settings.setValue(QLatin1String(kLanguageKey), static_cast<uint>(lang));
    settings.sync();
}

void LanguageManager::showLanguage(E_LANGUAGE lang)
{
    QString file;
    if (lang == Chinese_E)
        file = QString::fromLatin1(kChineseFile);
    else if (lang == English_E)
        file = QString::fromLatin1(kEnglishFile);

    if (!file.isEmpty()) {
        // A failed load empties the translator it was given: load into a new one and swap it in
        // only on success, so that the texts stay as they were.
        auto *translator = new QTranslator(this);
        if (translator->load(file)) {
            QCoreApplication::removeTranslator(m_translator);
            delete m_translator;
            m_translator = translator;
            QCoreApplication::installTranslator(m_translator);
            installQtTranslation(lang);
        } else {
            delete translator;
            qWarning().noquote() << QStringLiteral("translation not loaded: %1; the texts stay as they were").arg(file);
        }
    }
    m_language = lang;
}

void LanguageManager::installQtTranslation(E_LANGUAGE lang)
{
    // Qt's own dialog buttons follow the interface language.
    QCoreApplication::removeTranslator(m_qtTranslator);
    if (lang == Chinese_E
        && m_qtTranslator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(m_qtTranslator);
}
