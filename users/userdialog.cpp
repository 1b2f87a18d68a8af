#include "users/userdialog.h"

#include "database/cdatabaseinterface.h"
#include "users/patientrules.h"
#include "users/patientstore.h"

#include "ui_userdialog.h"

#include <QDebug>
#include <QEvent>
#include <QMessageBox>
#include <QTextDocument>

namespace {
const QDate kDefaultBirthday(1990, 1, 1);
} // namespace

UserDialog::UserDialog(QWidget *parent)
    : DimmedDialog(parent), m_ui(std::make_unique<Ui::UserDialog>())
{
    m_ui->setupUi(this);
    m_ui->name_LineEdit->setValidator(PatientRules::nameValidator(this));
    m_ui->phone_LineEdit->setValidator(PatientRules::phoneValidator(this));
    m_ui->phone_LineEdit->setMaxLength(PatientRules::kPhoneMaxLength);
    m_ui->dateEdit->setMinimumDate(QDate(1900, 1, 1));
}

UserDialog::~UserDialog() = default;

void UserDialog::setDialogType(int type, int ID)
{
    m_type = type;
    setTitle();
    // No birthday in the future: the age would come out below zero.
    m_ui->dateEdit->setMaximumDate(QDate::currentDate());
    if (type == 0) {
        ST_PatientMsg patient;
        patient.ID = PatientStore::nextNumber();
        patient.birthday = kDefaultBirthday;
        showPatient(patient);
    } else {
        ST_PatientMsg patient;
        if (PatientStore::find(ID, &patient))
            showPatient(patient);
        else
            qDebug() << "未查询到符合条件的数据";
    }
    show();
    raise();
    activateWindow();
}

void UserDialog::showPatient(const ST_PatientMsg &patient)
{
    m_ui->ID_LineEdit->setText(QString::number(patient.ID));
    m_ui->name_LineEdit->setText(patient.name);
    m_ui->sex_ComboBox->setCurrentIndex(patient.sex);
    m_ui->bodyIndex_ComboBox->setCurrentIndex(patient.bodyIndex);
    m_ui->textEdit->setPlainText(patient.markMsg);
    m_ui->phone_LineEdit->setText(patient.phone);
    // A date edit cannot be empty: a patient without a birthday shows the usual one.
    m_ui->dateEdit->setDate(patient.birthday.isValid() ? patient.birthday : kDefaultBirthday);
    m_loaded = patient;
    m_shown = formPatient();
}

ST_PatientMsg UserDialog::formPatient() const
{
    ST_PatientMsg patient;
    patient.ID = m_ui->ID_LineEdit->text().toUInt();
    patient.name = m_ui->name_LineEdit->text();
    patient.phone = m_ui->phone_LineEdit->text();
    patient.sex = m_ui->sex_ComboBox->currentIndex();
    patient.bodyIndex = m_ui->bodyIndex_ComboBox->currentIndex();
    patient.birthday = m_ui->dateEdit->date();
    // The raw text keeps non-breaking spaces, which the plain text turns into blanks.
    patient.markMsg = m_ui->textEdit->document()->toRawText();
    patient.markMsg.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return patient;
}

void UserDialog::on_save_Btn_clicked()
{
    ST_PatientMsg patient = PatientRules::keepUnchanged(m_loaded, m_shown, formPatient());
    if (PatientRules::isBlankName(patient.name)) {
        QMessageBox::information(this, tr("提示"), tr("用户名不能为空"));
        return;
    }
    patient.age = patient.birthday.isValid() ? QDate::currentDate().year() - patient.birthday.year()
                                             : m_loaded.age;
    const bool saved = m_type == 0 ? PatientStore::insert(patient) : PatientStore::update(patient);
    if (!saved) {
        // The form stays open: what was typed is not lost with a failed save.
        QMessageBox::information(this, tr("提示"), CDatabaseInterface::getInstance()->getLastError());
        return;
    }
    emit signalUpdateUserTable();
    QMessageBox::information(this, tr("提示"), m_type == 0 ? tr("添加成功") : tr("更新成功"));
    close();
}

void UserDialog::on_cancel_Btn_clicked()
{
    close();
}

void UserDialog::setTitle()
{
    const QString title = m_type == 0 ? tr("新建用户") : tr("编辑用户");
    m_ui->title_Label->setText(title);
    setWindowTitle(title);
}

void UserDialog::showEvent(QShowEvent *event)
{
    coverHostWindow();
    DimmedDialog::showEvent(event);
}

void UserDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        m_ui->retranslateUi(this);
        setTitle();
    }
    DimmedDialog::changeEvent(event);
}
