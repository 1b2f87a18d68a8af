#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QMessageBox;

// Shows the device link's warnings (a serial configuration that is missing, a port that did not
// open) as warning boxes. The boxes never block: they open after the link's creation has
// returned and run no event loop of their own. One box per kind is open at a time.
class LinkWarningPresenter : public QObject
{
    Q_OBJECT
public:
    // Creates the presenter as a child of parent and connects it to the device protocol, which is
    // created here if it does not exist yet.
    static LinkWarningPresenter *install(QObject *parent);

    explicit LinkWarningPresenter(QObject *parent = nullptr);

    // The box's title and text for a warning kind in a language (the current language index);
    // false for an unknown kind.
    static bool boxTexts(int kind, int language, QString *title, QString *text);

public slots:
    void slotLinkWarning(int kind);

private:
    QHash<int, QPointer<QMessageBox>> m_open;
};
