#include "shell/TextFold.h"

namespace shell {

namespace {

template <typename Keep>
QString folded(const QString& text, Keep keep)
{
    QString out;
    out.reserve(text.size());
    // Compatibility decomposition splits an accented letter into the letter and its mark,
    // and ligatures and full-width forms into their plain letters.
    for (const QChar c : text.normalized(QString::NormalizationForm_KD)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c.isLetterOrNumber())
            out += c.toCaseFolded();
        else
            keep(out);
    }
    return out;
}

}  // namespace

QString plainText(const QString& text)
{
    return folded(text, [](QString& out) { out += QLatin1Char(' '); });
}

QString searchKey(const QString& text)
{
    return folded(text, [](QString&) {});
}

}  // namespace shell
