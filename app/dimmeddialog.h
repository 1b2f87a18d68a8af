#pragma once

#include <QDialog>

// A frameless dialog whose whole area dims the page behind its panel (black at alpha
// 0x6464 of 0xFFFF); the panel itself comes from the dialog's form.
class DimmedDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DimmedDialog(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Dims the whole window that asks, or the whole screen; called when the dialog is shown.
    void coverHostWindow();
};
