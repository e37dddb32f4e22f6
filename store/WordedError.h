// A failure said in the program's own words, ready to be shown to the user or printed by the
// command-line tool: what the import, export and report code throw (each through a type of
// its own, so that a handler can tell them apart).
#pragma once

#include <QString>

#include <stdexcept>

namespace store {

class WordedError : public std::runtime_error {
public:
    explicit WordedError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description)
    {
    }
    const QString& description() const { return description_; }

private:
    QString description_;
};

}  // namespace store
