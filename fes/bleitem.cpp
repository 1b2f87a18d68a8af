#include "fes/bleitem.h"

#include "ui_bleitem.h"

#include <QDebug>
#include <QEvent>

BLEItem::BLEItem(QWidget *parent) : QWidget(parent), ui(new Ui::BLEItem)
{
    ui->setupUi(this);
    applyTexts();
}

BLEItem::~BLEItem()
{
    delete ui;
}

void BLEItem::setDeviceNo(uint8_t deviceNo)
{
    m_deviceNo = deviceNo;
    applyTexts();
}

void BLEItem::setConnectState(bool connected)
{
    m_connected = connected;
    applyTexts();
    emit signalBtnStateChanged(m_deviceNo, connected);
    qDebug().noquote() << QStringLiteral("数量和状态：") << int(m_deviceNo) << connected;
}

void BLEItem::on_connectBLE_Btn_clicked()
{
    const QString text = ui->connectBLE_Btn->text();
    if (text == tr("连接")) {
        qDebug().noquote() << QStringLiteral("点击连接");
        emit signalConnectDevice(true, m_deviceNo);
    } else if (text == tr("断开")) {
        emit signalConnectDevice(false, m_deviceNo);
    }
}

void BLEItem::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        applyTexts(); // the form's defaults do not know the number or the state
    }
    QWidget::changeEvent(event);
}

void BLEItem::applyTexts()
{
    static const char *const letters[] = {"A", "B", "C", "D"};
    const QString letter = m_deviceNo >= 1 && m_deviceNo <= 4 ? QLatin1String(letters[m_deviceNo - 1])
                                                              : QString();
    ui->BLEName_Label->setText(tr("电刺激盒%1").arg(letter));
    ui->connectBLE_Btn->setText(m_connected ? tr("断开") : tr("连接"));
}
