#include "server/name_match.h"

#include <QStringList>

#include "core/cp1251.h"

namespace zt::server {

namespace {

// Lower-case Cyrillic letters in Latin, as the common transliterations write them.
QString latin_of(QChar c) {
    static const std::pair<char16_t, const char*> table[] = {
        {u'а', "a"},  {u'б', "b"},  {u'в', "v"},  {u'г', "g"}, {u'д', "d"},  {u'е', "e"},
        {u'ё', "e"},  {u'ж', "zh"}, {u'з', "z"},  {u'и', "i"}, {u'й', "i"},  {u'к', "k"},
        {u'л', "l"},  {u'м', "m"},  {u'н', "n"},  {u'о', "o"}, {u'п', "p"},  {u'р', "r"},
        {u'с', "s"},  {u'т', "t"},  {u'у', "u"},  {u'ф', "f"}, {u'х', "h"},  {u'ц', "c"},
        {u'ч', "ch"}, {u'ш', "sh"}, {u'щ', "sh"}, {u'ъ', ""},  {u'ы', "i"},  {u'ь', ""},
        {u'э', "e"},  {u'ю', "iu"}, {u'я', "ia"}, {u'і', "i"}, {u'ї', "i"},  {u'є', "e"},
        {u'ґ', "g"},  {u'ў', "u"},  {u'ј', "i"},  {u'ђ', "d"}, {u'ћ', "c"},  {u'џ', "dz"},
        {u'љ', "l"},  {u'њ', "n"},  {u'ѓ', "g"},  {u'ќ', "k"}, {u'ѕ', "dz"},
    };
    for (const auto& [from, to] : table)
        if (c.unicode() == from) return QString::fromLatin1(to);
    return QString(c);
}

bool quality_word(const QString& w) {
    static const QStringList words = {QStringLiteral("hd"),  QStringLiteral("sd"),
                                      QStringLiteral("uhd"), QStringLiteral("fhd"),
                                      QStringLiteral("4k"),  QStringLiteral("hevc")};
    return words.contains(w);
}

}  // namespace

std::string channel_name_key(const std::string& cp1251) {
    const QString name =
        QString::fromUtf8(to_utf8(cp1251)).normalized(QString::NormalizationForm_KD).toLower();
    QString latin;
    for (QChar c : name) {
        if (c.category() == QChar::Mark_NonSpacing) continue;  // accents
        if (c == u'ß') {
            latin += QStringLiteral("ss");
        } else if (c == u'ı') {
            latin += u'i';
        } else if (c == u'+') {
            latin += QStringLiteral(" + ");
        } else if (c.isLetterOrNumber()) {
            latin += latin_of(c);
        } else {
            latin += u' ';
        }
    }
    QStringList words = latin.split(u' ', Qt::SkipEmptyParts);
    while (words.size() > 1 && quality_word(words.last())) words.removeLast();
    QString joined = words.join(QString());
    // Spellings the transliterations disagree on.
    static const std::pair<const char*, const char*> same[] = {
        {"sch", "sh"}, {"kh", "h"}, {"ts", "c"}, {"tz", "c"}, {"ck", "k"},
        {"ph", "f"},   {"w", "v"},  {"j", "i"},  {"y", "i"},  {"q", "k"},
    };
    for (const auto& [from, to] : same) joined.replace(QLatin1String(from), QLatin1String(to));
    std::string key;
    for (QChar c : joined) {
        const char16_t u = c.unicode();
        const bool keep = (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '+';
        if (!keep) continue;
        if (!key.empty() && key.back() == char(u) && !(u >= '0' && u <= '9')) continue;
        key += char(u);
    }
    return key;
}

}  // namespace zt::server
