// Reading the options that several commands share, with the same words on a wrong value.
#pragma once

#include "cli/UsageError.h"

#include <QPair>
#include <QStringList>

namespace cli {

// The value after the option at i (i moves onto it); UsageError when there is none.
inline QString takeValue(const QStringList& args, qsizetype& i)
{
    if (i + 1 >= args.size())
        throw UsageError{QStringLiteral("%1 needs a value.").arg(args[i])};
    return args[++i];
}

// --map FIELD=COLUMN.
inline QPair<QString, QString> mapValue(const QString& v)
{
    const qsizetype eq = v.indexOf(QLatin1Char('='));
    if (eq <= 0)
        throw UsageError{QStringLiteral("--map takes FIELD=COLUMN, not \"%1\".").arg(v)};
    return {v.left(eq).trimmed(), v.mid(eq + 1).trimmed()};
}

// --header yes|no.
inline bool headerValue(const QString& given)
{
    const QString v = given.toLower();
    if (v != QLatin1String("yes") && v != QLatin1String("no"))
        throw UsageError{QStringLiteral("--header takes yes or no, not \"%1\".").arg(v)};
    return v == QLatin1String("yes");
}

// What is neither an option nor its value: the wedding file, then the file to read.
inline void takeFiles(const QString& a, QString& wedding, QString& file)
{
    if (a.startsWith(QLatin1String("--")))
        throw UsageError{QStringLiteral("Unknown option %1.").arg(a)};
    if (wedding.isEmpty())
        wedding = a;
    else if (file.isEmpty())
        file = a;
    else
        throw UsageError{QStringLiteral("Unexpected argument \"%1\".").arg(a)};
}

}  // namespace cli
