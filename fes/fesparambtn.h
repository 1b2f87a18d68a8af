#pragma once

#include <QWidget>

namespace Ui {
class FesParamBtn;
}

// A tappable tile of the FES page showing one global parameter: title, value and unit.
class FesParamBtn : public QWidget
{
    Q_OBJECT
public:
    explicit FesParamBtn(QWidget *parent = nullptr);
    ~FesParamBtn() override;

    void setTitleAndUnit(const QString &title, const QString &unit);
    void setValue(int value);
    // The integer shown on the tile.
    int value() const;

signals:
    void fesButtonClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Ui::FesParamBtn *m_ui = nullptr;
};
