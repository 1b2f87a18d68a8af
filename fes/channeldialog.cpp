#include "fes/channeldialog.h"

#include "ui_channeldialog.h"

#include <QButtonGroup>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

namespace {

constexpr int kMusclesPerSide = 15;

// Object name stems in the order of the muscle ids 1..15 (and 16..30 on the right).
const char *const kMuscleStems[kMusclesPerSide] = {
    "gongEr", "gongSan", "qianSanJiao", "houSanJiao", "quWan", "shenWan", "jianJia", "gangShang",
    "guoSheng", "tunDa", "jingQian", "feiChang", "fuJi", "shuJi", "guSiTou"};

} // namespace

ChannelDialog::ChannelDialog(QWidget *parent) : ChannelDialogBase(parent), m_ui(new Ui::ChannelDialog)
{
    m_ui->setupUi(this);
    setControls(ChannelSliderLogic::controlsOf(m_ui));
    buildMuscleGroup();
}

ChannelDialog::~ChannelDialog()
{
    delete m_ui;
}

void ChannelDialog::buildMuscleGroup()
{
    m_muscleGroup = new QButtonGroup(this);
    m_muscleGroup->setObjectName(QStringLiteral("muscle_ButtonGroup"));
    m_muscleGroup->setExclusive(true);
    for (int i = 0; i < kMusclesPerSide; ++i) {
        const QString stem = QLatin1String(kMuscleStems[i]);
        auto *left = findChild<QPushButton *>(stem + QStringLiteral("L_Btn"));
        auto *right = findChild<QPushButton *>(stem + QStringLiteral("R_Btn"));
        Q_ASSERT(left && right);
        m_muscleGroup->addButton(left, i + 1);
        m_muscleGroup->addButton(right, i + 1 + kMusclesPerSide);
    }
    connect(m_muscleGroup, &QButtonGroup::idClicked, this,
            qOverload<int>(&ChannelDialog::slotButtonClicked));
    connect(m_muscleGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            qOverload<QAbstractButton *>(&ChannelDialog::slotButtonClicked));
}

QString ChannelDialog::muscleImagePath(const QString &buttonName)
{
    const int underscore = buttonName.indexOf(QLatin1Char('_'));
    const QString stem = underscore > 0 ? buttonName.left(underscore - 1) : buttonName;
    return QLatin1String(kMuscleImageFolder) + stem + QStringLiteral(".png");
}

void ChannelDialog::completeData(ST_ChannelParam &param) const
{
    param.muscleId = m_muscleId;
    param.muscleName = m_muscleId > 0 ? m_ui->muscle_Label->text() : QString();
}

void ChannelDialog::selectMuscle(int id)
{
    if (id < 1 || id > 2 * kMusclesPerSide)
        return;
    QAbstractButton *button = m_muscleGroup->button(id);
    button->setChecked(true);
    button->click();
}

void ChannelDialog::clearMuscle()
{
    // An exclusive group never unchecks its last button by itself.
    m_muscleGroup->setExclusive(false);
    if (QAbstractButton *checked = m_muscleGroup->checkedButton())
        checked->setChecked(false);
    m_muscleGroup->setExclusive(true);
    m_muscleId = 0;
    m_ui->muscle_Label->clear();
    m_ui->muscleImage_Label->clear();
}

void ChannelDialog::setRunning(bool running)
{
    m_ui->muscle_Widget->setEnabled(!running);
    m_ui->frequent_Widget->setEnabled(!running);
    m_ui->plus_Widget->setEnabled(!running);
    m_ui->minCurrent_Widget->setEnabled(!running);
}

bool ChannelDialog::readyToConfirm()
{
    if (m_muscleId != 0)
        return true;
    QMessageBox::warning(this, tr("Warning"), tr("未选择肌肉！"));
    return false;
}

void ChannelDialog::slotButtonClicked(int id)
{
    m_muscleId = id;
}

void ChannelDialog::slotButtonClicked(QAbstractButton *button)
{
    m_ui->muscle_Label->setText(button->text());
    m_ui->muscleImage_Label->setPixmap(QPixmap(muscleImagePath(button->objectName())));
}

void ChannelDialog::retranslateForm()
{
    m_ui->retranslateUi(this);
    // The muscle buttons speak the new language now; the name shown follows them.
    if (QAbstractButton *chosen = m_muscleGroup->button(m_muscleId))
        m_ui->muscle_Label->setText(chosen->text());
}
