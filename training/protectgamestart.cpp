#include "training/protectgamestart.h"

#include "ui_protectgamestart.h"

#include <QDebug>
#include <QMovie>

ProtectGameStart::ProtectGameStart(QWidget *parent)
    : PromptDialog(parent), m_ui(std::make_unique<Ui::ProtectGameStart>()), m_movie(new QMovie(this))
{
    m_ui->setupUi(this);
    m_ui->gif_Label->setMovie(m_movie);
}

ProtectGameStart::~ProtectGameStart() = default;

void ProtectGameStart::showEvent(QShowEvent *event)
{
    PromptDialog::showEvent(event);
    // Read at each showing: the file is a run-time one and may have been replaced.
    m_movie->stop();
    m_movie->setFileName(QString::fromLatin1(kAnimationPath));
    m_movie->setScaledSize(m_ui->gif_Label->size());
    m_movie->start();
    if (m_movie->state() != QMovie::Running)
        qWarning() << "loading animation not shown:" << kAnimationPath << m_movie->lastErrorString();
}

void ProtectGameStart::hideEvent(QHideEvent *event)
{
    m_movie->stop();
    PromptDialog::hideEvent(event);
}

void ProtectGameStart::retranslate()
{
    m_ui->retranslateUi(this);
}
