#pragma once

#include <QObject>

class QPropertyAnimation;
class QWidget;

// The two side panels of the training page, which slide out of view to free the game and back.
class SidePanels : public QObject
{
    Q_OBJECT
public:
    static constexpr int kWidth = 430;
    static constexpr int kTop = 120;
    static constexpr int kScreenWidth = 1920;
    static constexpr int kAnimationMs = 1000;
    // A double click between the panels (x inclusive) slides them.
    static constexpr int kToggleLeft = 435;
    static constexpr int kToggleRight = 1481;

    SidePanels(QWidget *left, QWidget *right, QObject *parent);

    // Slides both panels into view (true) or out of it; whether they count as shown is kept apart.
    void slide(bool in);
    bool isShown() const { return m_shown; }
    // A double click at x: between the panels it slides them the other way; true if it did.
    bool toggleAt(int x);
    // Brings panels that were slid away back into view.
    void bringBack();

private:
    QPropertyAnimation *m_left = nullptr;
    QPropertyAnimation *m_right = nullptr;
    bool m_shown = true;
};
