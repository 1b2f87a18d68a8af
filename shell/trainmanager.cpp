#include "shell/trainmanager.h"

#include "shell/mainwindowpagecontrol.h"
#include "ui_trainmanager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>

TrainManager::TrainManager(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::TrainManager>())
{
    ui->setupUi(this);
    // A plain QWidget paints its style-sheet background only when asked to.
    setAttribute(Qt::WA_StyledBackground);
}

TrainManager::~TrainManager() = default;

void TrainManager::on_bicycleTrain_Btn_clicked()
{
    MainWindowPageControl::getInstance()->setCurrentPage(BicycleModePage_E);
}

void TrainManager::on_fesBicycleTrain_Btn_clicked()
{
    MainWindowPageControl::getInstance()->setCurrentPage(FesBicycleModePage_E);
}

void TrainManager::on_fesTrain_Btn_clicked()
{
    MainWindowPageControl::getInstance()->setCurrentPage(FesPage_E);
}

void TrainManager::on_setting_Btn_clicked()
{
    MainWindowPageControl::getInstance()->setCurrentPage(SettingPage_E);
}

void TrainManager::on_shutDown_Btn_clicked()
{
    qDebug().noquote() << QStringLiteral("shut-down button: quitting");
    QCoreApplication::quit();
}

void TrainManager::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}
