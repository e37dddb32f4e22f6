// The welcome window of a first run.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class frmWelcome : public QDialog {
    Q_OBJECT
public:
    explicit frmWelcome(QWidget* parent = nullptr);

    void Command1_Click();

    QLabel* Picture1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Command1;

    static QString welcomeText();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
};
