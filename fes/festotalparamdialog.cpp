#include "fes/festotalparamdialog.h"

#include "ui_festotalparamdialog.h"

#include <QEvent>

FesTotalParamDialog::FesTotalParamDialog(QWidget *parent)
    : DimmedDialog(parent), m_ui(new Ui::FesTotalParamDialog)
{
    m_ui->setupUi(this);
    m_ui->value_Label->setNum(m_ui->slider->value());
}

FesTotalParamDialog::~FesTotalParamDialog()
{
    delete m_ui;
}

void FesTotalParamDialog::setTitleAndUnit(const QString &title, const QString &unit)
{
    m_ui->title_Label->setText(title);
    m_ui->unit_Label->setText(unit);
}

void FesTotalParamDialog::setRange(int min, int max)
{
    m_ui->slider->setRange(min, max);
}

void FesTotalParamDialog::setValue(int value)
{
    m_ui->slider->setValue(value);
    m_value = value;
}

int FesTotalParamDialog::getValue() const
{
    return m_value;
}

void FesTotalParamDialog::on_cancel_Btn_clicked()
{
    reject();
}

void FesTotalParamDialog::on_confirm_Btn_clicked()
{
    m_value = m_ui->value_Label->text().toInt();
    accept();
}

void FesTotalParamDialog::on_minus_Btn_clicked()
{
    m_ui->slider->setValue(m_ui->slider->value() - 1);
}

void FesTotalParamDialog::on_plus_Btn_clicked()
{
    m_ui->slider->setValue(m_ui->slider->value() + 1);
}

void FesTotalParamDialog::on_slider_valueChanged(int value)
{
    m_ui->value_Label->setNum(value);
}

void FesTotalParamDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        // The caller's title and unit are already translated texts; keep them.
        const QString title = m_ui->title_Label->text();
        const QString unit = m_ui->unit_Label->text();
        m_ui->retranslateUi(this);
        setTitleAndUnit(title, unit);
    }
    QDialog::changeEvent(event);
}
