// The about box.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    void Command1_Click();

    QLabel* Image1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;       // version text
    QLabel* lblVersions;  // the Qt and SQLite versions the program runs on
    QLabel* lblDataFile;  // the path of the wedding file
    QPushButton* Command1;

private:
    void Form_Load();
};
