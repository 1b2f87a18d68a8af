#pragma once

#include "training/promptdialog.h"

#include <memory>

namespace Ui {
class ProtectGameStart;
}
class QMovie;

// "加载中..." over the loading picture while a game starts, with an animation that runs while
// the dialog is shown.
class ProtectGameStart : public PromptDialog
{
    Q_OBJECT
public:
    static constexpr const char *kAnimationPath = "./DependFile/Source/dialog/waiting.gif";

    explicit ProtectGameStart(QWidget *parent = nullptr);
    ~ProtectGameStart() override;

    QMovie *movie() const { return m_movie; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void retranslate() override;

private:
    std::unique_ptr<Ui::ProtectGameStart> m_ui;
    QMovie *m_movie = nullptr;
};
