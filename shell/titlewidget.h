#pragma once

#include "shell/mainwindowpagecontrol.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

class QTimer;
class SoundDialog;

namespace Ui {
class TitleWidget;
}

// The bar across the top of the main window: the page title, the back buttons, the connection
// icon of the lower machine, the link error text, the current patient and the volume button.
class TitleWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kStatusIntervalMs = 3000;
    static constexpr const char *kUpPictureFolder = "/DependFile/Source/trainDisplayPage";
    static constexpr const char *kUpPictureFile = "/upPicture.png";

    explicit TitleWidget(QWidget *parent = nullptr);
    ~TitleWidget() override;

    // The title and the back buttons for a page; a value outside the table empties the title.
    void setTitleByPage(int page);
    // 1 while a cycling page with stimulation is on the way: back goes to its pages then.
    void setFesFlag(int8_t flag);
    int8_t fesFlag() const { return m_fesFlag; }
    void setUserName(const QString &name);

    // Renders the bar into application directory + kUpPictureFolder + kUpPictureFile.
    bool saveUpPicture();
    static QString upPicturePath();

signals:
    void signalCloseWindow();

public slots:
    void slotBackClicked();
    void on_user_Btn_clicked();
    void slotCheckTimer();
    void on_quit_Btn_clicked();
    void slotStateChanged(QString text);
    void on_sound_Button_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    // Runs the login again; only a user who logs in gets back to the program.
    void askForLogin();
    void setBackButtonsVisible(bool visible);

    std::unique_ptr<Ui::TitleWidget> ui;
    QTimer *m_statusTimer = nullptr;
    SoundDialog *m_soundDialog = nullptr;
    int8_t m_fesFlag = 0;
    int m_page = MainPage_E;
};
