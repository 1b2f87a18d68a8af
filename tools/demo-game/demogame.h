#pragma once

#include "demogameoptions.h"
#include "hostmessage.h"

#include <QObject>
#include <QString>

#include <memory>

class CyclingScene;
class QFile;
class HostLink;

// The demo game: its window, its link to the host and what the host's messages do to it.
class DemoGame : public QObject
{
    Q_OBJECT

public:
    // After answering the close the game lingers this long, and answers a repeated close too.
    static constexpr int kQuitDelayMs = 50;

    explicit DemoGame(const DemoGameOptions &options, QObject *parent = nullptr);
    ~DemoGame() override;

    // Listens, shows the window and, once it is up, reports to the host that the game runs.
    void start();

    // Renders one frame with sample data to the options' snapshot file.
    static bool writeSnapshot(const DemoGameOptions &options);

private:
    void windowShown();
    void applyLiveData(const HostMessage::LiveData &data);
    void applyGameState(int state);
    void say(const QString &line) const;

    DemoGameOptions m_options;
    CyclingScene *m_scene = nullptr;
    HostLink *m_link = nullptr;
    std::unique_ptr<QFile> m_log; // the state lines' file, when one is named
    bool m_closing = false;
    QString m_speedText;
    int m_angle = -1;
    double m_forceLeft = 0.0;
    double m_forceRight = 0.0;
    QString m_forcesText;
    QString m_userName;
};
