// The report engine a window drives: it is given a template file, a selection formula,
// section fonts and a destination, and runs the report when asked. A run prepares the pages
// (reports/PrepareReport.h) and sends them to the preview window, the default printer or a
// PDF file.
// Every failure is a ReportError with a description.
#pragma once

#include "reports/PrepareReport.h"

#include <QDate>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>

namespace reports {

class ReportEngine {
public:
    enum class Destination { Window = 0, Printer = 1, File = 2 };
    static constexpr int WindowMaximised = 2;

    void setReportFileName(const QString& path) { reportFileName_ = path; }
    QString reportFileName() const { return reportFileName_; }
    void setSelectionFormula(const QString& formula) { selectionFormula_ = formula; }
    QString selectionFormula() const { return selectionFormula_; }
    // Entry `index` of the section fonts; entry 0 sets the detail section.
    void setSectionFont(int index, const QString& text) { sectionFonts_[index] = text; }
    QString sectionFont(int index) const;
    void setDestination(Destination destination) { destination_ = destination; }
    Destination destination() const { return destination_; }
    void setWindowState(int state) { windowState_ = state; }
    int windowState() const { return windowState_; }
    void setWindowTitle(const QString& title) { windowTitle_ = title; }
    QString windowTitle() const { return windowTitle_; }
    void setWindowParent(QWidget* parent) { parent_ = parent; }
    void setPrintFileName(const QString& path) { printFileName_ = path; }  // the File destination
    QString printFileName() const { return printFileName_; }
    void setPrintDate(QDate date) { printDate_ = date; }  // default: the day of the run

    // Runs the report on the open wedding database. Throws ReportError.
    void run();
    // The pages of the last report prepared (also when sending them failed).
    const ReportPages& lastPages() const { return lastPages_; }

private:
    QString reportFileName_, selectionFormula_, windowTitle_ = QStringLiteral("Orvane"), printFileName_;
    std::map<int, QString> sectionFonts_;
    Destination destination_ = Destination::Window;
    int windowState_ = 0;
    QPointer<QWidget> parent_;
    QDate printDate_;
    ReportPages lastPages_;
};

}  // namespace reports
