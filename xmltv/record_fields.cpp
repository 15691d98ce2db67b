#include "xmltv/record_fields.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

#include "xmltv/html_entities.h"

namespace zt::xmltv {

namespace {

constexpr int kMaxDepth = 64;

// Reads to the end of the current element; `text` (if any) collects up to `limit` characters.
void read_element(QXmlStreamReader& xml, QString* text, qsizetype limit) {
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (xml.readNext()) {
            case QXmlStreamReader::Characters:
                if (text && text->size() < limit) *text += xml.text().left(limit - text->size());
                break;
            case QXmlStreamReader::EntityReference:
                // An entity neither the document nor HTML defines: a space, so that the
                // words around it stay apart.
                if (auto* entities = dynamic_cast<HtmlEntities*>(xml.entityResolver()))
                    entities->count_unresolved();
                if (text && text->size() < limit) *text += QLatin1Char(' ');
                break;
            case QXmlStreamReader::StartElement:
                if (++depth > kMaxDepth) {
                    xml.raiseError(
                        QStringLiteral("элементы вложены глубже %1 уровней").arg(kMaxDepth));
                    return;
                }
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                break;
            default:
                break;
        }
    }
}

}  // namespace

QString read_text(QXmlStreamReader& xml, qsizetype limit) {
    QString text;
    read_element(xml, &text, limit);
    return text;
}

void skip_element(QXmlStreamReader& xml) {
    read_element(xml, nullptr, 0);
}

void Preferred::offer(QXmlStreamReader& xml) {
    const bool is_russian = xml.attributes()
                                .value(QLatin1String("lang"))
                                .startsWith(QLatin1String("ru"), Qt::CaseInsensitive);
    QString value = read_text(xml);
    if (!set || (is_russian && !russian)) {
        text = std::move(value);
        russian = is_russian;
        set = true;
    }
}

QString local_icon(QStringView src, const QString& base_dir) {
    const QString s = src.trimmed().toString();
    if (s.isEmpty() || s.startsWith(QLatin1String("//")) || s.startsWith(QLatin1String("\\\\")))
        return {};
    if (s.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(s);
        const QString host = url.host();
        if (!url.isValid() || !url.isLocalFile() ||
            !(host.isEmpty() || host == QLatin1String("localhost")))
            return {};
        return QDir::cleanPath(host.isEmpty() ? url.toLocalFile() : url.path());
    }
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(s).hasMatch()) return {};
    return QDir::cleanPath(QDir(base_dir).absoluteFilePath(s));
}

std::optional<std::int32_t> rating_percent(QStringView value) {
    static const QRegularExpression fraction(
        QStringLiteral(R"(^\s*(\d+(?:[.,]\d+)?)\s*/\s*(\d+(?:[.,]\d+)?)\s*$)"));
    static const QRegularExpression percent(QStringLiteral(R"(^\s*(\d+(?:[.,]\d+)?)\s*%\s*$)"));
    const QString text = value.toString();
    auto number = [](QString s) {
        return s.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    };
    double share = -1;
    if (const auto m = fraction.match(text); m.hasMatch()) {
        const double whole = number(m.captured(2));
        if (whole > 0) share = number(m.captured(1)) / whole * 100.0;
    } else if (const auto p = percent.match(text); p.hasMatch()) {
        share = number(p.captured(1));
    }
    if (share < 0) return std::nullopt;
    return static_cast<std::int32_t>(std::lround(std::clamp(share, 0.0, 100.0)));
}

std::optional<std::int64_t> length_seconds(QStringView units, QStringView value) {
    bool ok = false;
    const qint64 n = value.trimmed().toLongLong(&ok);
    qint64 unit = 0;
    if (units == QLatin1String("seconds")) unit = 1;
    if (units == QLatin1String("minutes")) unit = 60;
    if (units == QLatin1String("hours")) unit = 3600;
    if (!ok || unit == 0 || n <= 0 || n > 7 * 86400 / unit) return std::nullopt;
    return n * unit;
}

std::optional<QString> episode_mark(QStringView xmltv_ns) {
    // "season.episode.part", each zero-based and each "n" or "n/total" (or left empty).
    const auto parts = xmltv_ns.split(QLatin1Char('.'));
    if (parts.size() > 3) return std::nullopt;
    int values[3] = {-1, -1, -1};
    int totals[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const auto fraction = parts[i].split(QLatin1Char('/'));
        if (fraction.size() > 2) return std::nullopt;
        const auto number = fraction[0].trimmed();
        bool ok = true;
        if (!number.isEmpty()) values[i] = number.toInt(&ok);
        if (!ok || values[i] < -1 || values[i] > 99998) return std::nullopt;
        if (fraction.size() == 2 && !fraction[1].trimmed().isEmpty()) {
            totals[i] = fraction[1].trimmed().toInt(&ok);
            if (!ok || totals[i] < 0) return std::nullopt;
        }
    }
    QStringList mark;
    if (values[0] >= 0) mark << QStringLiteral("S%1").arg(values[0] + 1);
    if (values[1] >= 0) mark << QStringLiteral("E%1").arg(values[1] + 1);
    if (values[2] >= 0 && totals[2] > 1)
        mark << QStringLiteral("P%1/%2").arg(values[2] + 1).arg(totals[2]);
    return mark.join(QLatin1Char(' '));
}

QString record_text(QStringView title, QStringView mark, QStringView sub_title, QStringView descr) {
    QString out;
    auto add = [&](QStringView part) {
        part = part.trimmed();
        if (part.isEmpty()) return;
        if (!out.isEmpty()) {
            static const QString ends = QStringLiteral(".!?:;\u2026");
            if (!ends.contains(out.back())) out += QLatin1Char('.');
            out += QLatin1Char(' ');
        }
        out += part;
    };
    add(mark);
    // A sub-title that only repeats the title or opens the description says nothing new.
    const QStringView sub = sub_title.trimmed();
    if (!sub.isEmpty() && sub.compare(title.trimmed(), Qt::CaseInsensitive) != 0 &&
        !descr.trimmed().startsWith(sub, Qt::CaseInsensitive))
        add(sub);
    add(descr);
    return out;
}

QString xml_error_text(const QXmlStreamReader& xml) {
    const QString qt = xml.errorString();
    switch (xml.error()) {
        case QXmlStreamReader::CustomError:
            return qt;
        case QXmlStreamReader::PrematureEndOfDocumentError:
            return QStringLiteral("файл оборван, документ XML не завершён");
        case QXmlStreamReader::NotWellFormedError:
            if (qt.startsWith(QLatin1String("Encoding ")))
                return QStringLiteral("кодировка, объявленная в файле, не поддерживается (%1)")
                    .arg(qt);
            if (qt.contains(QLatin1String("incorrectly encoded")))
                return QStringLiteral("текст не соответствует кодировке, объявленной в файле");
            return QStringLiteral("нарушена разметка XML (%1)").arg(qt);
        default:
            return QStringLiteral("ошибка чтения XML (%1)").arg(qt);
    }
}

}  // namespace zt::xmltv
