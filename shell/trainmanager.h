#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TrainManager;
}

// The function choice page, first page of the main window: cycling, cycling with stimulation,
// stimulation alone, the settings, and the way out of the program.
class TrainManager : public QWidget
{
    Q_OBJECT
public:
    explicit TrainManager(QWidget *parent = nullptr);
    ~TrainManager() override;

signals:
    // The main window came back to this page; pages that keep a half-made choice reset it.
    void signalOpenTrainManagerPage();

public slots:
    void on_bicycleTrain_Btn_clicked();
    void on_fesBicycleTrain_Btn_clicked();
    void on_fesTrain_Btn_clicked();
    void on_setting_Btn_clicked();
    // Quits the application; whatever has to be switched off at quit runs then.
    void on_shutDown_Btn_clicked();

protected:
    void changeEvent(QEvent *event) override;

private:
    std::unique_ptr<Ui::TrainManager> ui;
};
