// The splash window, visible while the program starts.
#pragma once

#include <QWidget>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QLabel* Picture1;  // the rings
    QLabel* Picture2;  // the product name
    QLabel* Picture3;  // a thin ornament line
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;  // version text

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
};
