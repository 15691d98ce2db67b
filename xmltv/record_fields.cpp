#include "xmltv/record_fields.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zt::xmltv {

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

namespace {

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// "\d+([.,]\d+)?" at `p`, with the white space around it; the number, or nothing.
std::optional<double> number_at(const char*& p, const char* end) {
    while (p < end && is_space(*p)) ++p;
    char text[64];
    std::size_t n = 0;
    const char* q = p;
    while (q < end && *q >= '0' && *q <= '9' && n < sizeof text - 2) text[n++] = *q++;
    if (n == 0) return std::nullopt;
    if (q + 1 < end && (*q == '.' || *q == ',') && q[1] >= '0' && q[1] <= '9') {
        text[n++] = '.';
        ++q;
        while (q < end && *q >= '0' && *q <= '9' && n < sizeof text - 1) text[n++] = *q++;
    }
    if (q < end && *q >= '0' && *q <= '9') return std::nullopt;  // beyond any rating
    double value = 0;
    if (std::from_chars(text, text + n, value).ec != std::errc()) return std::nullopt;
    p = q;
    while (p < end && is_space(*p)) ++p;
    return value;
}

}  // namespace

std::optional<std::int32_t> rating_percent(std::string_view value) {
    // "x/y" or "n%", each number "d" or "d.d" (or "d,d"), white space allowed around them.
    const char* p = value.data();
    const char* end = p + value.size();
    const auto first = number_at(p, end);
    if (!first || p == end) return std::nullopt;
    double share = -1;
    if (*p == '%') {
        ++p;
        while (p < end && is_space(*p)) ++p;
        if (p != end) return std::nullopt;
        share = *first;
    } else if (*p == '/') {
        ++p;
        const auto whole = number_at(p, end);
        if (!whole || p != end) return std::nullopt;
        if (*whole > 0) share = *first / *whole * 100.0;
    } else {
        return std::nullopt;
    }
    if (share < 0) return std::nullopt;
    return static_cast<std::int32_t>(std::lround(std::clamp(share, 0.0, 100.0)));
}

std::optional<std::int32_t> rating_percent(QStringView value) {
    for (const QChar c : value)
        if (c.unicode() >= 0x80) return std::nullopt;  // only ASCII digits and spaces count
    const QByteArray latin = value.toLatin1();
    return rating_percent(std::string_view(latin.constData(), std::size_t(latin.size())));
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

}  // namespace zt::xmltv
