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
    // Lays the dialog over the whole window of its parent, or over the whole screen.
    void coverHostWindow();
};
