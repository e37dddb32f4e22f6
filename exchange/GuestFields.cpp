#include "exchange/GuestFields.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

#include <set>

namespace exchange {

const std::vector<GuestFieldInfo>& guestFields()
{
    using F = GuestField;
    using K = FieldKind;
    static const std::vector<GuestFieldInfo> fields = {
        {F::WholeName, "WholeName", "Whole name (title, first and last)", "", K::Name},
        {F::Prefix, "Prefix", "Title", "Prefix", K::Text},
        {F::FirstName, "FirstName", "First name", "FirstName", K::Text},
        {F::LastName, "LastName", "Last name", "LastName", K::Text},
        {F::Address, "Address", "Address", "Address", K::Text},
        {F::City, "City", "City", "City", K::Text},
        {F::State, "State", "State", "State", K::Text},
        {F::PostalCode, "PostalCode", "Zip/Postal code", "PostalCode", K::Text},
        {F::Country, "Country", "Country", "Country", K::Text},
        {F::HomePhone, "HomePhone", "Phone", "HomePhone", K::Text},
        {F::Side, "guestof", "Guest of (Bride, Groom, Both)", "guestof", K::Side},
        {F::Invited, "Invited", "Total people invited", "Invited", K::Count},
        {F::Rsvp, "RSVP", "RSVP answer (yes/no)", "", K::Answer},
        {F::Confirmed, "Confirmed", "Received response", "Confirmed", K::YesNo},
        {F::Attending, "NumberAttending", "Confirmed number attending", "NumberAttending", K::Count},
        {F::Ceremony, "InvCeremony", "Invited to the ceremony", "InvCeremony", K::YesNo},
        {F::Reception, "InvReception", "Invited to the reception", "InvReception", K::YesNo},
        {F::Shower, "ShowerGuest", "Invited to the shower", "ShowerGuest", K::YesNo},
        {F::Rehearsal, "InvRehearsal", "Invited to the rehearsal", "InvRehearsal", K::YesNo},
        {F::ShowerInvited, "ShowerInvited", "Shower: total invited", "ShowerInvited", K::Count},
        {F::ShowerReplied, "ShowerReplied", "Shower: received response", "ShowerReplied", K::YesNo},
        {F::ShowerComing, "ShowerComing", "Shower: confirmed number attending", "ShowerComing", K::Count},
        {F::WeddingLabel, "wedlbl", "Wedding envelope line", "wedlbl", K::Text},
        {F::ShowerLabel, "showlbl", "Shower envelope line", "showlbl", K::Text},
        {F::Group, "Group", "Household (groups people into parties)", "", K::Group},
        {F::AgeGroup, "AgeGroup", "Person: age group", "", K::Person},
        {F::Child, "Child", "Person: child (yes/no)", "", K::Person},
        {F::PlusOne, "PlusOne", "Person: plus-one", "", K::Person},
        {F::Meal, "Meal", "Person: meal", "", K::Person},
        {F::Needs, "Needs", "Person: dietary needs", "", K::Person},
        {F::Email, "Email", "Person: e-mail", "", K::Person},
        {F::Mobile, "Mobile", "Person: mobile", "", K::Person},
    };
    return fields;
}

const GuestFieldInfo& fieldInfo(GuestField field)
{
    for (const GuestFieldInfo& info : guestFields())
        if (info.field == field)
            return info;
    static const GuestFieldInfo none{GuestField::NotImported, "", "not imported", "", FieldKind::Text};
    return none;
}

std::optional<GuestField> fieldByKey(const QString& key)
{
    for (const GuestFieldInfo& info : guestFields())
        if (info.key.compare(key, Qt::CaseInsensitive) == 0 ||
            info.caption.compare(key, Qt::CaseInsensitive) == 0)
            return info.field;
    if (key.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return GuestField::NotImported;
    return std::nullopt;
}

namespace {

// Letters, digits and '#' only, lower case: "Guest Name(s)" -> "guestnames",
// "Address 1 - Street" -> "address1street".
QString headerKey(const QString& header)
{
    QString key;
    for (QChar c : header.toLower())
        if (c.isLetterOrNumber() || c == QLatin1Char('#'))
            key += c;
    return key;
}

// The field of each header key of a table of fields and the keys that name them.
QHash<QString, GuestField> byHeader(const std::vector<std::pair<GuestField, QStringList>>& table)
{
    QHash<QString, GuestField> h;
    for (const auto& [field, keys] : table)
        for (const QString& k : keys)
            h.insert(k, field);
    return h;
}

const QHash<QString, GuestField>& headerNames()
{
    using F = GuestField;
    static const QHash<QString, GuestField> names = [] {
        const std::vector<std::pair<GuestField, QStringList>> table = {
            {F::WholeName,
             {"name", "guestname", "guestnames", "guestnamess", "guests", "guest", "fullname", "displayname",
              "party", "partyname", "invitee", "invitees", "household"}},
            {F::Prefix, {"title", "prefix", "nameprefix", "salutation", "honorific"}},
            {F::FirstName, {"firstname", "first", "givenname", "forename", "firstnames"}},
            {F::LastName, {"lastname", "last", "surname", "familyname"}},
            {F::Address,
             {"address", "address1street", "homestreet", "street", "streetaddress", "addressline1",
              "address1", "mailingaddress", "homeaddress"}},
            {F::City, {"city", "address1city", "homecity", "town", "towncity"}},
            {F::State,
             {"state", "address1region", "homestate", "region", "province", "stateprovince", "county"}},
            {F::PostalCode,
             {"zip", "zipcode", "postalcode", "postcode", "address1postalcode", "homepostalcode",
              "zippostalcode", "zippostal"}},
            {F::Country, {"country", "address1country", "homecountryregion", "homecountry", "countryregion"}},
            {F::HomePhone,
             {"phone", "homephone", "phone1value", "telephone", "phonenumber", "mobilephone", "mobile",
              "tel"}},
            {F::Side, {"side", "guestof", "whoseguest", "brideorgroom", "bridegroom"}},
            {F::Invited,
             {"#invited", "invited", "numberinvited", "totalinvited", "totalpeopleinvited", "partysize",
              "#guests", "numberofguests", "count", "#inparty", "headcount", "#people"}},
            {F::Rsvp, {"rsvp", "response", "reply", "rsvpstatus", "answer"}},
            {F::Confirmed, {"receivedresponse", "replied", "responded", "replyreceived", "confirmed"}},
            {F::Attending,
             {"coming", "#coming", "attending", "#attending", "numberattending", "confirmednumberattending",
              "numbercoming"}},
            {F::Ceremony, {"ceremony", "invceremony", "invitedtoceremony"}},
            {F::Reception, {"reception", "invreception", "invitedtoreception", "dinner"}},
            {F::Shower, {"shower", "showerguest", "invitedtoshower", "bridalshower"}},
            {F::Rehearsal, {"rehearsal", "invrehearsal", "rehearsaldinner", "invitedtorehearsal"}},
            {F::ShowerInvited, {"showertotalinvited", "showerinvited"}},
            {F::ShowerReplied, {"showerreceivedresponse", "showerreplied"}},
            {F::ShowerComing, {"showerconfirmednumberattending", "showercoming", "showerattending"}},
            {F::WeddingLabel,
             {"weddinginvitation", "envelope", "envelopename", "envelopeline", "weddinglabel", "wedlbl",
              "addressee", "label"}},
            {F::ShowerLabel, {"showerinvitation", "showerlabel", "showlbl", "showerenvelope"}},
        };
        return byHeader(table);
    }();
    return names;
}

// The headers of a list of people: the columns that group them, and each person's own.
const QHash<QString, GuestField>& personHeaderNames()
{
    using F = GuestField;
    static const QHash<QString, GuestField> names = [] {
        const std::vector<std::pair<GuestField, QStringList>> table = {
            {F::Group, {"household", "party", "family", "group", "invitation"}},
            {F::AgeGroup, {"agegroup", "age", "adultchild", "adultorchild", "agecategory"}},
            {F::Child, {"child", "ischild", "kid"}},
            {F::PlusOne, {"plusone", "plusoneof", "plus1", "guestofguest", "bringsaguest"}},
            {F::Meal,
             {"meal", "entree", "entrée", "mealchoice", "entreechoice", "entréechoice", "menuchoice"}},
            {F::Needs,
             {"dietaryneeds", "dietary", "diet", "allergies", "allergy", "allergiesdietary",
              "dietaryallergies", "dietaryrestrictions", "dietaryrequirements", "needs"}},
            {F::Email, {"email", "emailaddress", "email1value", "mail"}},
            {F::Mobile, {"mobile", "mobilephone", "mobilenumber", "cell", "cellphone"}},
        };
        return byHeader(table);
    }();
    return names;
}

bool namesPeople(GuestField f)
{
    return f == GuestField::FirstName || f == GuestField::LastName || f == GuestField::WholeName;
}

// A list of people: a grouping header and, in another column, names.
bool isPersonList(const QStringList& headers)
{
    bool group = false, names = false;
    for (const QString& h : headers) {
        const QString key = headerKey(h);
        if (personHeaderNames().value(key) == GuestField::Group)
            group = true;
        else if (namesPeople(headerNames().value(key, GuestField::NotImported)))
            names = true;
    }
    return group && names;
}

}  // namespace

GuestField guessField(const QString& header)
{
    return headerNames().value(headerKey(header), GuestField::NotImported);
}

GuestField guessPersonField(const QString& header)
{
    const GuestField f = personHeaderNames().value(headerKey(header), GuestField::NotImported);
    return f == GuestField::Group ? GuestField::NotImported : f;
}

void guessPeopleColumns(std::vector<GuestField>& mapping, const QStringList& headers)
{
    for (size_t i = 0; i < mapping.size() && i < size_t(headers.size()); ++i) {
        const GuestField guess = guessPersonField(headers[qsizetype(i)]);
        const bool open = mapping[i] == GuestField::NotImported ||
                          (mapping[i] == GuestField::HomePhone && guess == GuestField::Mobile);
        const bool taken =
            guess != GuestField::Needs && std::find(mapping.begin(), mapping.end(), guess) != mapping.end();
        if (open && guess != GuestField::NotImported && !taken)
            mapping[i] = guess;
    }
}

bool isPersonField(GuestField field)
{
    return fieldInfo(field).kind == FieldKind::Person;
}

bool groupsPeople(const std::vector<GuestField>& mapping)
{
    return std::find(mapping.begin(), mapping.end(), GuestField::Group) != mapping.end();
}

std::vector<GuestField> guessMapping(const QStringList& headers)
{
    std::vector<GuestField> mapping;
    std::set<GuestField> taken;
    const bool people = isPersonList(headers);
    for (const QString& h : headers) {
        GuestField f = guessField(h);
        if (people)
            f = personHeaderNames().value(headerKey(h), f);
        if (f != GuestField::NotImported && f != GuestField::Needs && !taken.insert(f).second)
            f = GuestField::NotImported;
        mapping.push_back(f);
    }
    // Separate first and last names make a whole-name column (a "Name" or "File As") redundant.
    if (taken.count(GuestField::WholeName) && taken.count(GuestField::LastName))
        for (GuestField& f : mapping)
            if (f == GuestField::WholeName)
                f = GuestField::NotImported;
    return mapping;
}

std::optional<bool> readYesNo(const QString& text)
{
    static const QStringList yes = {"x",      "yes",     "y",  "true", "1", "\u2713",
                                    "\u2714", "invited", "ja", "oui",  "si"};
    static const QStringList no = {"", "no", "n", "false", "0", "-", "\u2717"};
    const QString t = text.trimmed().toLower();
    if (yes.contains(t))
        return true;
    if (no.contains(t))
        return false;
    return std::nullopt;
}

CountCell readCount(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    // Written out in digits, as people count: "1e3" or "0x10" are no head counts.
    static const QRegularExpression whole(QStringLiteral("^\\+?0*([0-9]{1,7})(\\.0*)?$"));
    const QRegularExpressionMatch match = whole.match(t);
    const int count = match.hasMatch() ? match.captured(1).toInt() : -1;
    if (count < 0 || count > 1000000)
        return {false, std::nullopt};
    return {true, count};
}

std::optional<QString> readSide(const QString& text, const QString& brideName, const QString& groomName)
{
    const QString t = text.trimmed().toLower();
    if (t.isEmpty())
        return QString();
    auto names = [&t](const QString& name) {
        const QString first = name.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
        return !first.isEmpty() && t.contains(first);
    };
    const bool bride = t.contains(QLatin1String("bride")) || names(brideName);
    const bool groom = t.contains(QLatin1String("groom")) || names(groomName);
    if (t.contains(QLatin1String("both")) || t.contains(QLatin1String("mutual")) ||
        t.contains(QLatin1String("shared")) || (bride && groom))
        return QStringLiteral("Both");
    if (bride)
        return QStringLiteral("Bride");
    if (groom)
        return QStringLiteral("Groom");
    return std::nullopt;
}

AnswerCell readAnswer(const QString& text)
{
    static const QStringList yes = {"yes",    "y",         "x",      "true", "accepted",
                                    "accept", "attending", "coming", "1"};
    static const QStringList no = {
        "no", "n", "false", "declined", "decline", "regrets", "not attending", "not coming", "0"};
    static const QStringList open = {"", "pending", "maybe", "?", "awaiting", "no reply", "no response", "-"};
    const QString t = text.trimmed().toLower();
    if (yes.contains(t))
        return {true, true};
    if (no.contains(t))
        return {true, false};
    if (open.contains(t))
        return {};
    return {false, std::nullopt};
}

}  // namespace exchange
