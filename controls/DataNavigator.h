// The visible face of a DataSource: |< < caption > >|. Created by
// DataSource::createNavigator(); its objectName is the source's name (so a test finds
// "Data1" as a widget), its buttons are named "First", "Previous", "Next" and "Last" and
// the caption label "Caption".
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QToolButton;

namespace controls {

class DataSource;

class DataNavigator : public QWidget {
    Q_OBJECT
public:
    DataNavigator(DataSource* source, QWidget* parent = nullptr);

    DataSource* dataSource() const { return source_; }
    QString caption() const;

private:
    QToolButton* addButton(const QString& name, const QString& text);
    void step(int direction);

    QPointer<DataSource> source_;
    QLabel* caption_ = nullptr;
};

}  // namespace controls
