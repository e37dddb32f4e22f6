// "Print Labels" for parties picked elsewhere (Find Guests' Change menu): the parties are marked
// for labels exactly as the reports window's Labels tab marks its choice (every other party's
// mark cleared, in one transaction), and the label template of the chosen stock is previewed or
// printed with the wedding or the shower envelope line.
//
//   reports::showPartyLabels(parent, {key1, key2});
#pragma once

#include "reports/ReportEngine.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QPushButton;

namespace store {
class Database;
}

namespace reports {

// Marks exactly these parties (bookmarks) for the label templates, in one transaction.
void markPartiesForLabels(store::Database& db, const std::vector<qint64>& parties);

class frmPartyLabels : public QDialog {
    Q_OBJECT
public:
    frmPartyLabels(std::vector<qint64> parties, QWidget* parent = nullptr);

    QComboBox* cboText;   // the wedding or the shower envelope line
    QComboBox* cboStock;  // the label stocks of the Labels tab
    QPushButton* cmdPreview;
    QPushButton* cmdPrint;
    QPushButton* cmdCancel;
    ReportEngine CR1;  // the engine of the last preview or print

    void cmdPreview_Click();
    void cmdPrint_Click();

private:
    void run(bool toPrinter);
    std::vector<qint64> parties_;
};

// Opens the window modally over parent for the parties.
void showPartyLabels(QWidget* parent, const std::vector<qint64>& parties);

}  // namespace reports
