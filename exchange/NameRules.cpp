#include "exchange/NameRules.h"

#include "shell/TextFold.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

namespace exchange {

namespace {

// Titles, longest first so that "Mr. and Mrs." wins over "Mr.".
const QStringList& titles()
{
    static const QStringList list = {"Mr. and Mrs.", "Mr. & Mrs.", "Mr and Mrs", "Mr & Mrs", "Dr. and Mrs.",
                                     "Dr. and Mr.",  "Drs.",       "Messrs.",    "Mrs.",     "Mrs",
                                     "Mr.",          "Mr",         "Ms.",        "Ms",       "Miss",
                                     "Mx.",          "Mx",         "Dr.",        "Dr",       "Prof.",
                                     "Rev.",         "Hon.",       "Master",     "Sir",      "Dame",
                                     "Lady",         "Lord",       "Fr.",        "Capt.",    "Sgt."};
    return list;
}

const QStringList& particles()
{
    static const QStringList list = {"van", "von", "de",  "del", "della", "der", "den", "di",  "da",  "du",
                                     "dos", "das", "la",  "le",  "ó",     "o",   "mac", "mc",  "st.", "ter",
                                     "ten", "bin", "ibn", "al",  "el",    "ap",  "ní",  "nic", "ua",  "y"};
    return list;
}

bool isGuestWord(const QString& w)
{
    static const QRegularExpression re(QStringLiteral("^(guest|a guest|plus one|\\+1|\\+ ?guest|one)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(w.trimmed()).hasMatch();
}

// Takes a leading title off text; returns it ("" when none).
QString takeTitle(QString& text)
{
    for (const QString& t : titles()) {
        if (!text.startsWith(t, Qt::CaseInsensitive))
            continue;
        const QString rest = text.mid(t.size());
        if (!rest.isEmpty() && !rest.front().isSpace())
            continue;
        text = rest.trimmed();
        return t;
    }
    return {};
}

bool hasTwoPeople(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("(\\s&\\s|\\sand\\s|\\s\\+\\s|/)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(QLatin1Char(' ') + text + QLatin1Char(' ')).hasMatch();
}

}  // namespace

int peopleFromName(const QString& prefix, const QString& firstName)
{
    return hasTwoPeople(prefix) || prefix.startsWith(QLatin1String("Drs"), Qt::CaseInsensitive) ||
                   prefix.startsWith(QLatin1String("Messrs"), Qt::CaseInsensitive) || hasTwoPeople(firstName)
               ? 2
               : 1;
}

SplitName splitWholeName(const QString& wholeName)
{
    SplitName out;
    QString text = wholeName.simplified();
    // "& Guest" and its kind: the party is this person and one more.
    static const QRegularExpression guestTail(
        QStringLiteral("\\s*(&|and|\\+|with)\\s*(a\\s+)?(guest|plus one|\\+1|one)\\s*$|\\s*\\+\\s*1\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    bool plusGuest = false;
    if (const auto m = guestTail.match(text); m.hasMatch() && m.capturedStart() > 0) {
        text = text.left(m.capturedStart()).trimmed();
        plusGuest = true;
    }
    // "The Haddad Family", "Haddad Family", "The Haddads".
    static const QRegularExpression family(QStringLiteral("^(the\\s+)?(.+?)\\s+(family|household)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (const auto m = family.match(text); m.hasMatch()) {
        out.lastName = m.captured(2);
        return out;
    }
    // "Okafor, Liam" (a comma in a name is the sheet's "last, first" order).
    if (const int comma = int(text.indexOf(QLatin1Char(','))); comma > 0) {
        QString first = text.mid(comma + 1).trimmed();
        out.prefix = takeTitle(first);
        out.firstName = first;
        out.lastName = text.left(comma).trimmed();
    } else {
        out.prefix = takeTitle(text);
        QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!words.isEmpty() && isGuestWord(words.last()))
            words.removeLast();
        if (!words.isEmpty()) {
            qsizetype lastStart = words.size() - 1;
            static const QRegularExpression suffix(QStringLiteral("^(jr\\.?|sr\\.?|ii|iii|iv)$"),
                                                   QRegularExpression::CaseInsensitiveOption);
            if (lastStart > 0 && suffix.match(words[lastStart]).hasMatch())
                --lastStart;
            while (lastStart > 1 && particles().contains(words[lastStart - 1].toLower()))
                --lastStart;
            out.lastName = words.mid(lastStart).join(QLatin1Char(' '));
            out.firstName = words.mid(0, lastStart).join(QLatin1Char(' '));
        }
    }
    out.people = plusGuest ? 2 : peopleFromName(out.prefix, out.firstName);
    return out;
}

namespace {

// Accents off, lower case, letters and digits in single-blank separated words.
QStringList plainWords(const QString& text)
{
    return shell::plainText(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

}  // namespace

QString nameKey(const QString& name)
{
    static const QStringList titleWords = {"mr", "mrs", "ms",   "miss", "mx",
                                           "dr", "drs", "prof", "rev",  "and"};
    QStringList words = plainWords(name);
    while (!words.isEmpty() && titleWords.contains(words.first()))
        words.removeFirst();
    return words.join(QLatin1Char(' '));
}

QString addressKey(const QString& address)
{
    static const QHash<QString, QString> shortWords = {
        {"street", "st"},   {"avenue", "ave"},  {"av", "ave"},        {"road", "rd"},
        {"drive", "dr"},    {"lane", "ln"},     {"court", "ct"},      {"boulevard", "blvd"},
        {"place", "pl"},    {"square", "sq"},   {"apartment", "apt"}, {"suite", "ste"},
        {"north", "n"},     {"south", "s"},     {"east", "e"},        {"west", "w"},
        {"highway", "hwy"}, {"terrace", "ter"}, {"parkway", "pkwy"},  {"circle", "cir"}};
    QStringList words = plainWords(address);
    for (QString& w : words)
        w = shortWords.value(w, w);
    return words.join(QLatin1Char(' '));
}

}  // namespace exchange
