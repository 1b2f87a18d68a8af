#pragma once

#include <QObject>

class QTranslator;

enum E_LANGUAGE
{
    Chinese_E = 0,
    English_E = 1
};

// Loads and installs the interface translation and remembers the choice.
class LanguageManager : public QObject
{
    Q_OBJECT
public:
    static LanguageManager *getInstance();

    int getLanguage() const;
    int readLanguage();
    // Installs the translation and saves the choice for the next start.
    void setLanguage(E_LANGUAGE lang);
    // Installs the translation for this run only; the saved choice stays.
    void showLanguage(E_LANGUAGE lang);

    // application directory + "/conf/IDconf.ini"
    static QString settingsFilePath();

private:
    LanguageManager();
    void installQtTranslation(E_LANGUAGE lang);

    QTranslator *m_translator = nullptr;
    QTranslator *m_qtTranslator = nullptr;
    int m_language = Chinese_E;
};
