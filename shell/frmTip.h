// The tip window: shows tip number program().TipNumber from the tip list.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class frmTip : public QDialog {
    Q_OBJECT
public:
    explicit frmTip(QWidget* parent = nullptr);

    void cmdOK_Click();

    QLabel* Picture1;
    QLabel* Label1;
    QLabel* lblTipText;
    QPushButton* cmdOK;

private:
    void Form_Load();
};
