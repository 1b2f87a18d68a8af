#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <QWidget>

class QPainter;
class QTimer;

// The demo game's picture: a rider on a country road, drawn with QPainter at any size. Speed
// moves the road, the hills (with parallax) and the rider; the angle turns the crank; the left
// and right forces fill the balance bar.
class CyclingScene : public QWidget
{
    Q_OBJECT

public:
    enum class Phase { Waiting, Running, Paused };
    static constexpr int kFrameIntervalMs = 33;

    explicit CyclingScene(QWidget *parent = nullptr);

    // 0 to 3: morning, midday, afternoon and evening colours, one per game number.
    void setTheme(int index);
    void setPhase(Phase phase);
    Phase phase() const { return m_phase; }

    void setSpeed(double speed) { m_speed = speed; }
    void setAngle(int degrees) { m_angle = degrees; }
    void setForces(double left, double right);
    void setUserName(const QString &name) { m_userName = name; }

    // Moves the scene on by this much time at the current speed; the frame timer calls it.
    void advance(qint64 elapsedMs);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Palette
    {
        QColor skyTop, skyHorizon, sun, farHills, nearHills, grassTop, grassBottom, trees, road;
    };

    void frame();
    double unit() const { return height() / 980.0; }
    double leftShare() const;

    void drawSky(QPainter &painter) const;
    void drawHills(QPainter &painter, double baseY, double amplitude, double offset, double period,
                   const QColor &color) const;
    void drawTrees(QPainter &painter) const;
    void drawRoad(QPainter &painter) const;
    void drawRider(QPainter &painter) const;
    void drawSpeed(QPainter &painter) const;
    void drawUserName(QPainter &painter) const;
    void drawBalance(QPainter &painter) const;
    void drawNotice(QPainter &painter, const QString &text, bool veil) const;

    QTimer *m_frameTimer = nullptr;
    QElapsedTimer m_clock;
    Palette m_palette;
    Phase m_phase = Phase::Waiting;

    double m_speed = 0.0;       // km/h, as the host sends it
    int m_angle = 0;            // degrees, 0 with the near pedal up, growing forwards
    double m_forceLeft = 0.0;
    double m_forceRight = 0.0;
    bool m_forcesKnown = false;
    QString m_userName;

    double m_distance = 0.0;    // metres ridden, drives the road and the wheels
    double m_drift = 0.0;       // seconds of cloud drift
    double m_riderLead = 0.0;   // 0 to 1: how far forward the rider sits, eased towards the speed
    double m_shownShare = 0.5;  // left share shown, eased towards the forces
};
