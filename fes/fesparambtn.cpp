#include "fes/fesparambtn.h"

#include "ui_fesparambtn.h"

#include <QEvent>
#include <QMouseEvent>

FesParamBtn::FesParamBtn(QWidget *parent) : QWidget(parent), m_ui(new Ui::FesParamBtn)
{
    m_ui->setupUi(this);
}

FesParamBtn::~FesParamBtn()
{
    delete m_ui;
}

void FesParamBtn::setTitleAndUnit(const QString &title, const QString &unit)
{
    m_ui->title_Label->setText(title);
    m_ui->unit_Label->setText(unit);
}

void FesParamBtn::setValue(int value)
{
    m_ui->data_Label->setText(QString::number(value));
}

int FesParamBtn::value() const
{
    return m_ui->data_Label->text().toInt();
}

void FesParamBtn::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    emit fesButtonClicked();
}

void FesParamBtn::changeEvent(QEvent *event)
{
    // The page sets title and unit itself on a language change; keep what it set.
    if (event->type() == QEvent::LanguageChange) {
        const QString title = m_ui->title_Label->text();
        const QString unit = m_ui->unit_Label->text();
        const QString data = m_ui->data_Label->text();
        m_ui->retranslateUi(this);
        setTitleAndUnit(title, unit);
        m_ui->data_Label->setText(data);
    }
    QWidget::changeEvent(event);
}
