// The export window (File menu "Export..." and "Export to Calendar..."): which list, which
// format and which file; the calendar form asks for the file only.
//
//   showExport(mainWindow, frmExport::Mode::Lists);   // modal
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace exchange {

class frmExport : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Lists, Calendar };
    explicit frmExport(Mode mode, QWidget* parent = nullptr);

    QComboBox* cboList = nullptr;
    QRadioButton *optCsv = nullptr, *optXlsx = nullptr;
    QLineEdit* txtFile;
    QPushButton *cmdBrowse, *cmdExport, *cmdCancel, *cmdHelp;

private:
    void cmdBrowse_Click();
    void cmdExport_Click();
    void suggestFile();  // a file name from the list and format, in the file's folder
    Mode mode_;
};

void showExport(QWidget* parent, frmExport::Mode mode);

}  // namespace exchange
