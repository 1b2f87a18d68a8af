#include "reports/reportdialogbase.h"

#include "database/trainrecord.h"
#include "game/gamecontrol.h"
#include "reports/reportexport.h"
#include "reports/reportshares.h"
#include "reports/reportstore.h"
#include "users/currentuserdata.h"

#include <QDebug>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>

#include <cmath>

using namespace QtCharts;

namespace {
constexpr int kMinAge = 1;
constexpr int kMaxAge = 90;
constexpr qreal kImageScale = 2;

QString modeText(int trainMode)
{
    // Mode 9 is shown as nothing in a report, though its record reads "active".
    return trainMode == 9 ? QString() : trainModeText(trainMode);
}

QString wholeMetres(float up, float down)
{
    const double metres = double(up) + double(down);
    return std::isfinite(metres) ? QString::number(std::llround(metres)) : QStringLiteral("0");
}
} // namespace

ReportDialogBase::ReportDialogBase(QWidget *parent) : DimmedDialog(parent) {}

ReportDialogBase::~ReportDialogBase() = default;

void ReportDialogBase::setupForm()
{
    m_area = findChild<QWidget *>(QStringLiteral("report_GroupBox"));
    for (int i = 0; i < 3; ++i) {
        auto *view = findChild<QChartView *>(QStringLiteral("graphicsView_%1").arg(i + 1));
        if (!view)
            continue;
        m_charts[i] = new QChart;
        m_charts[i]->setBackgroundVisible(false);
        m_charts[i]->setMargins(QMargins());
        m_charts[i]->layout()->setContentsMargins(0, 0, 0, 0);
        m_charts[i]->legend()->setAlignment(Qt::AlignBottom);
        m_charts[i]->legend()->hide();
        view->setChart(m_charts[i]); // the view owns it
        view->setRenderHint(QPainter::Antialiasing);
    }
    m_formReady = true;
}

ST_TrainReport ReportDialogBase::reportData() const
{
    return m_report;
}

QString ReportDialogBase::ageText(int age) const
{
    return QString::number(age);
}

void ReportDialogBase::setText(const char *labelName, const QString &text)
{
    if (auto *label = findChild<QLabel *>(QLatin1String(labelName)))
        label->setText(text);
}

void ReportDialogBase::showButtons(bool save, bool import)
{
    for (const char *name : {"save_Btn", "noSave_Btn"}) {
        if (auto *button = findChild<QPushButton *>(QLatin1String(name)))
            button->setVisible(save);
    }
    if (auto *button = findChild<QPushButton *>(QStringLiteral("import_Btn")))
        button->setVisible(import);
}

void ReportDialogBase::setReportData(const ST_TrainReport &report, bool isNew)
{
    showButtons(isNew, true);
    m_isNew = isNew;
    m_report = report;
    fillTexts();
    qDebug() << "最终模式" << report.bodyIndex;
    drawCharts();

    coverHostWindow();
    open();
}

void ReportDialogBase::fillTexts()
{
    const ST_TrainReport &r = m_report;
    setText("name_Label", r.name);
    setText("sex_Label", r.sex == 1 ? tr("女") : tr("男"));
    setText("phone_Label", r.phone);
    // Outside 1..90 the age is no age: show none rather than another patient's.
    setText("age_Label", r.age >= kMinAge && r.age <= kMaxAge ? ageText(r.age) : QString());
    setText("trainMode_Label", modeText(r.trainMode));
    setText("trainPart_Label", bodyPartText(r.bodyIndex));
    setText("trainPartIcon_Label", bodyPartText(r.bodyIndex));
    setText("reportDate_Label", r.startTimeStr.left(10));
    setText("msg_Label", r.markMsg);
    setText("trainTime_Label", QStringLiteral("%1:%2").arg(r.trainTime / 60).arg(r.trainTime % 60));
    setText("trainLength_Label", wholeMetres(r.upLimpLength, r.downLimpLength));
    setText("spasmTimes_Label", QString::number(r.spasmTimes));
    setText("avgResistance_Label", QString::number(double(r.averangeResistance), 'g', 6));
    setText("maxResistance_Label", QString::number(double(r.maxResistance), 'g', 6));
    setText("maxSpeed_Label", QString::number(r.maxSpeed));
    setText("averageSpeed_Label", QString::number(r.averageSpeed));
}

void ReportDialogBase::drawCharts()
{
    drawChart(0, ReportShares::balance(m_report), "#55ADF9", "#B4E2FE");
    drawChart(1, ReportShares::time(m_report), "#92AFF6", "#938BF6");
    drawChart(2, ReportShares::distance(m_report), "#AAC204", "#D2E07E");
}

void ReportDialogBase::drawChart(int index, const ST_PieShare &share, const char *firstColour,
                                 const char *secondColour)
{
    QChart *chart = m_charts[index];
    if (!chart)
        return;
    chart->removeAllSeries();
    auto *series = new QPieSeries;
    series->setPieSize(1.0);
    QFont font = this->font();
    font.setPixelSize(22);
    font.setBold(true);
    const char *colours[2] = {firstColour, secondColour};
    for (int i = 0; i < 2; ++i) {
        QPieSlice *slice = series->append(share.labels[i], share.values[i]);
        slice->setColor(QColor(QLatin1String(colours[i])));
        slice->setBorderColor(Qt::white);
        slice->setLabelColor(QColor(0x1E, 0x3A, 0x4C));
        slice->setLabelFont(font);
        slice->setLabelPosition(QPieSlice::LabelInsideNormal);
        slice->setLabelVisible(true);
        // The percentage labels of the form carry the same texts but stay hidden.
        if (auto *label = findChild<QLabel *>(
                QStringLiteral("slice%1_%2Percentage_Label").arg(index + 1).arg(i + 1))) {
            label->setText(share.labels[i]);
            label->hide();
        }
    }
    chart->addSeries(series);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->hide();
}

QImage ReportDialogBase::reportImage() const
{
    if (!m_area)
        return QImage();
    QImage image(m_area->size() * kImageScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kImageScale);
    image.fill(Qt::white);
    m_area->render(&image);
    return image;
}

void ReportDialogBase::on_close_Btn_clicked()
{
    reject();
}

void ReportDialogBase::on_noSave_Btn_clicked()
{
    reject();
}

void ReportDialogBase::on_save_Btn_clicked()
{
    const uint32_t patient = CurrentUserData::getInstance()->getCurrentPatientMsg().ID;
    // A failure is logged by the store; the dialog stays open for another try.
    if (!ReportStore::saveTraining(patient, GameControl::getInstance()->getTrainParam(), m_report))
        return;
    m_isNew = false;
    QMessageBox::warning(this, tr("保存"), tr("报告保存成功"));
    accept();
}

void ReportDialogBase::on_import_Btn_clicked()
{
    const QString name = ReportExport::defaultFileName(m_report);
    // The buttons stay out of the picture only: a training that is not stored yet must still be
    // savable after an export, whether it worked or not.
    showButtons(false, false);
    const QImage image = reportImage();
    showButtons(m_isNew, true);
    QString path = QFileDialog::getSaveFileName(this, tr("保存文件"), name, tr("*.pdf"));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    // A file written beside and renamed at the end: a failed export leaves what was there.
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly)) {
        QMessageBox::warning(this, tr("导出文件"), tr("文件打开失败"));
        return;
    }
    if (!ReportExport::writePdf(&file, image) || !file.commit()) {
        qWarning().noquote() << QStringLiteral("report export failed:") << path
                             << file.errorString();
        QMessageBox::warning(this, tr("导出文件"), tr("报告导出失败"));
        return;
    }
    QMessageBox::information(this, tr("提示"), tr("报告导出成功"));
    if (!m_isNew)
        accept();
}

void ReportDialogBase::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && m_formReady) {
        retranslateForm();
        fillTexts();
    }
    DimmedDialog::changeEvent(event);
}
