#pragma once

#include "fescommanddecoder.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>

// The simulated Bluetooth adapter with its stimulation boxes: which boxes are switched on, which
// is connected under which device number, their battery levels and channel settings, and the
// replies the adapter gives. Time only moves through advance(), so it runs the same in tests
// and live.
class FesAdapterModel
{
public:
    struct Channel
    {
        int current = 0;    // mA
        int frequency = 0;  // Hz
        int pulseWidth = 0; // µs
        bool output = false;
        bool adjusting = false;
        QString mode;       // "realtime" or "cycle" once parameters arrived
    };

    struct Box
    {
        int number = 0;        // 1..4, as given on the command line
        QByteArray mac;        // 6 bytes
        bool present = true;   // switched on, so a search finds it
        uint8_t device = 0;    // the device number it is connected under; 0 while not connected
        double battery = 100.0;
        Channel channels[2];

        bool connected() const { return device != 0; }
        int level() const;     // whole percent, as reported
    };

    // What the adapter does: reply payloads in the order they go out, and what no reply shows.
    struct Response
    {
        QList<QByteArray> replies;
        QStringList notes;
    };

    static constexpr int kMaxLevel = 100;

    explicit FesAdapterModel(int initialLevel = kMaxLevel, double drainPerMinute = 1.0);

    // False when the number is outside 1..4 or already taken.
    bool addBox(int number, const QByteArray &mac);

    Response handle(const FesHostCommand &command);
    // Drains the batteries of the connected boxes.
    void advance(double seconds);

    // Faults typed on the console; number is the box number.
    Response drop(int number);
    Response powerOff(int number);
    Response powerOn(int number);
    Response setBattery(int number, int level);

    const Box *box(int number) const;
    const Box *boxOnDevice(uint8_t device) const;
    QList<int> boxNumbers() const { return m_boxes.keys(); }
    double drainPerMinute() const { return m_drainPerMinute; }

    // One line per box.
    QStringList statusLines() const;

private:
    Box *findBox(int number);
    Box *findBoxOnDevice(uint8_t device);
    Box *findBoxByMac(const QByteArray &mac);
    Response search();
    Response connectBox(const FesHostCommand &command);
    Response disconnect(const FesHostCommand &command);
    Response channelSetting(const FesHostCommand &command);
    static void switchOffOutputs(Box &box);

    QMap<int, Box> m_boxes;
    int m_initialLevel;
    double m_drainPerMinute;
};
