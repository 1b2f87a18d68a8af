#pragma once

#include "fes/channelparam.h"

#include <QWidget>

namespace Ui {
class MuscleButton;
}

// One stimulation channel on the FES page: its muscle, currents, pulse width, frequency,
// battery and link state; a tap opens the channel's dialog.
class MuscleButton : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char *kLeftPicture = ":/DependFile/Source/channel/left.png";
    static constexpr const char *kRightPicture = ":/DependFile/Source/channel/right.png";
    static constexpr const char *kConnectedPicture = ":/DependFile/Source/channel/connected.png";
    static constexpr const char *kDisconnectedPicture = ":/DependFile/Source/channel/disconnected.png";
    static constexpr const char *kBatteryFolder = ":/DependFile/Source/Fes/";

    explicit MuscleButton(QWidget *parent = nullptr);
    ~MuscleButton() override;

    void setTitle(const QString &text, int id);
    void setData(const ST_ChannelParam &param);
    // The record as the labels show it; the switch is the selected flag.
    ST_ChannelParam getData() const;
    void setSelected(bool selected);
    // 0 pure stimulation (no muscle shown), 1 FES cycling.
    void setMode(int mode);
    void setBattery(int level);
    void setConnected(bool connected);
    // A short text on the tile saying why the channel cannot run; empty hides it.
    void setNotice(const QString &text);
    int id() const { return m_id; }

    // The battery picture for a level in percent; empty above 100 or below 0.
    static QString batteryPicture(int level);

signals:
    void muscleButtonClicked(int id);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Ui::MuscleButton *m_ui = nullptr;
    ST_ChannelParam m_data;
    QString m_title;
    int m_id = 0;
    bool m_selected = false;
};
