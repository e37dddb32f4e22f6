// The one kind of failure of the report engine: a description the window shows as it is.
#pragma once

#include <QString>

#include <stdexcept>

namespace reports {

class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description)
    {
    }
    QString description() const { return description_; }

private:
    QString description_;
};

}  // namespace reports
