#include "xmltv/xmltv_reader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "xmltv/cp1251_text.h"
#include "xmltv/genre_map.h"
#include "xmltv/html_entities.h"
#include "xmltv/input_device.h"
#include "xmltv/programme_order.h"
#include "xmltv/record_fields.h"
#include "xmltv/xmltv_time.h"

namespace zt::xmltv {

namespace {

constexpr std::size_t kFieldBytes = 255;
constexpr std::int64_t kProgressStep = 1 << 20;
constexpr qsizetype kProblemsNamed = 5;

// One pass over the document: <tv> with <channel> and <programme> children; anything else is
// skipped.
class Parser final {
public:
    Parser(InputDevice& input, std::int64_t total, const QString& base_dir,
           const ReadOptions& options, const GenreMap& genres, Sink& sink)
        : m_input(input),
          m_total(total),
          m_base_dir(base_dir),
          m_options(options),
          m_genres(genres),
          m_sink(sink),
          m_xml(&input),
          m_zone(options.zone),
          m_order([this](Programme& p) { deliver(p); }) {
        m_xml.setEntityResolver(&m_entities);
    }

    ReadResult run() {
        if (m_xml.readNextStartElement()) {
            if (m_xml.name() != QLatin1String("tv"))
                m_xml.raiseError(
                    QStringLiteral("это не файл XMLTV: корневой элемент «%1», а не «tv»")
                        .arg(m_xml.name()));
            while (!m_stopped && m_xml.readNextStartElement()) {
                if (m_xml.name() == QLatin1String("channel"))
                    read_channel();
                else if (m_xml.name() == QLatin1String("programme"))
                    read_programme();
                else
                    skip_element(m_xml);
                report_progress();
            }
            while (!m_stopped && !m_xml.atEnd()) m_xml.readNext();  // only end tokens may follow
        }
        if (!m_stopped) m_order.finish();  // a cancelled read hands on nothing more
        m_result.late_programmes = m_order.late();
        m_result.filled_gaps = m_order.filled_gaps();
        m_result.open_ended = m_order.open_ended();
        m_result.replaced_duplicates = m_order.replaced();
        m_result.zero_length = m_order.zero_length();
        m_result.stop_before_start = m_order.stop_before_start();
        m_result.transliterated_chars = m_text.transliterated;
        m_result.replaced_chars = m_text.replaced;
        m_result.cut_texts = m_text.cut;
        m_result.entities = m_entities.resolved() + m_entities.unresolved();
        set_outcome();
        return m_result;
    }

private:
    void set_outcome() {
        QString reason;
        std::int64_t line = m_xml.lineNumber();
        if (m_stopped) {
            m_result.message = QStringLiteral("Чтение файла прервано.");
            return;
        }
        // The input stops at its own fault, which the XML reader then sees as an early end;
        // any other XML error lies before it.
        const bool xml_fault =
            m_xml.hasError() && m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError;
        if (!m_input.fault().isEmpty() && !xml_fault) {
            reason = m_input.fault();
            line = m_input.fault_line();
        } else if (m_xml.hasError()) {
            reason = xml_error_text(m_xml);
        } else {
            m_result.ok = true;
            if (m_options.progress) m_options.progress(m_input.raw_done(), m_total);
            return;
        }
        m_result.line = line;
        m_result.message = QStringLiteral("Строка %1: %2.").arg(line).arg(reason);
    }

    // Programmes are ordered and cut in absolute time (seconds since the epoch in start and
    // finish) and turn into the zone's wall-clock times here. When clocks go back, the local
    // finish of a programme in the repeated hour may not be after its start: it keeps its length.
    void deliver(Programme& p) {
        const std::int64_t length = p.finish.seconds() - p.start.seconds();
        p.start = m_zone.to_local(p.start.seconds());
        p.finish = m_zone.to_local(p.finish.seconds());
        if (p.finish <= p.start) p.finish = p.start.addSeconds(length);
        m_sink.programme(p);
        ++m_result.programmes;
    }

    void report_progress() {
        if (m_options.cancelled && m_options.cancelled()) m_stopped = true;
        const std::int64_t done = m_input.raw_done();
        if (m_options.progress && done - m_progress_at >= kProgressStep) {
            m_progress_at = done;
            m_options.progress(done, m_total);
        }
    }

    void read_channel() {
        Channel channel;
        channel.id = m_xml.attributes().value(QLatin1String("id")).toString();
        if (channel.id.isEmpty()) {
            note(m_xml.lineNumber(), QStringLiteral("канал без атрибута id пропущен"));
            ++m_result.skipped_channels;
            skip_element(m_xml);
            return;
        }
        Preferred name;
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("display-name")) {
                name.offer(m_xml);
            } else if (m_xml.name() == QLatin1String("icon")) {
                if (channel.icon_path.isEmpty())
                    channel.icon_path =
                        local_icon(m_xml.attributes().value(QLatin1String("src")), m_base_dir);
                skip_element(m_xml);
            } else {
                skip_element(m_xml);
            }
        }
        if (m_xml.hasError()) return;
        // A channel without a display name is still listed, under its id.
        channel.name = fit_cp1251(name.set ? name.text : channel.id, kFieldBytes, m_text);
        m_sink.channel(channel);
        ++m_result.channels;
    }

    // Names what had to be left out or read without a field; the first few only.
    void note(std::int64_t line, const QString& what) {
        if (m_result.problems.size() < kProblemsNamed)
            m_result.problems.append(QStringLiteral("строка %1: %2").arg(line).arg(what));
    }

    // Seconds since the epoch of a time attribute; nothing when it is missing or unreadable
    // (`fault` says which).
    std::optional<std::int64_t> time_attribute(QLatin1String name, TimeFault& fault) {
        const auto value = m_xml.attributes().value(name);
        fault = TimeFault::none;
        if (value.isEmpty()) return std::nullopt;
        const auto utc = parse_time(value.toLatin1(), &fault);
        if (fault == TimeFault::unknown_zone) ++m_result.unknown_zones;
        return utc;
    }

    QString time_problem(QLatin1String name, TimeFault fault) const {
        const QString value = m_xml.attributes().value(name).left(40).toString();
        return fault == TimeFault::unknown_zone
                   ? QStringLiteral("часовой пояс в %1=«%2» неизвестен").arg(name, value)
                   : QStringLiteral("время %1=«%2» не разобрано").arg(name, value);
    }

    void skip_programme(std::int64_t line, const QString& why) {
        note(line, QStringLiteral("передача пропущена: ") + why);
        ++m_result.skipped_programmes;
        skip_element(m_xml);
    }

    void read_programme() {
        const std::int64_t line = m_xml.lineNumber();
        Programme p;
        p.channel_id = m_xml.attributes().value(QLatin1String("channel")).toString();
        if (p.channel_id.isEmpty())
            return skip_programme(line, QStringLiteral("нет атрибута channel"));
        TimeFault fault = TimeFault::none;
        const auto start = time_attribute(QLatin1String("start"), fault);
        if (!start)
            return skip_programme(line, fault == TimeFault::none
                                            ? QStringLiteral("нет атрибута start")
                                            : time_problem(QLatin1String("start"), fault));
        // An optional field that cannot be read is left out; the programme stays.
        const auto stop = time_attribute(QLatin1String("stop"), fault);
        if (fault != TimeFault::none) {
            ++m_result.bad_fields;
            note(line, time_problem(QLatin1String("stop"), fault) + QStringLiteral(", передача "
                                                                                   "без конца"));
        }
        Preferred title, sub_title, descr;
        QString episode_ns, episode_onscreen;
        QStringList categories;
        std::optional<std::int64_t> length;
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("title"))
                title.offer(m_xml);
            else if (name == QLatin1String("sub-title"))
                sub_title.offer(m_xml);
            else if (name == QLatin1String("desc"))
                descr.offer(m_xml);
            else if (name == QLatin1String("category"))
                add_category(categories, read_text(m_xml, 256));
            else if (name == QLatin1String("length"))
                length = read_length();
            else if (name == QLatin1String("episode-num"))
                read_episode(episode_ns, episode_onscreen);
            else if (name == QLatin1String("star-rating") || name == QLatin1String("rating"))
                read_rating(p.rating);
            else
                skip_element(m_xml);
        }
        if (m_xml.hasError()) return;
        p.start = DateTime::fromSeconds(*start);
        p.title = fit_cp1251(title.text, kFieldBytes, m_text);
        QString mark;
        if (!episode_ns.isEmpty()) {
            if (const auto ns = episode_mark(episode_ns)) {
                mark = *ns;
            } else {
                ++m_result.bad_fields;
                note(line, QStringLiteral("номер серии «%1» не разобран").arg(episode_ns.left(40)));
            }
        }
        if (mark.isEmpty()) mark = episode_onscreen.left(64);
        p.descr = fit_cp1251(record_text(title.text, mark, sub_title.text, descr.text), kFieldBytes,
                             m_text);
        const Genre genre = m_genres.resolve(categories);
        p.type_family = genre.family;
        p.type_sub = genre.sub;
        // Without stop, a <length> gives the end before the next programme's start does.
        std::optional<DateTime> finish;
        if (stop)
            finish = DateTime::fromSeconds(*stop);
        else if (length)
            finish = DateTime::fromSeconds(*start + *length);
        m_order.add(std::move(p), finish);
    }

    // <episode-num system="xmltv_ns"> or "onscreen"; the first of each kind counts.
    void read_episode(QString& ns, QString& onscreen) {
        const auto system = m_xml.attributes().value(QLatin1String("system"));
        if (system == QLatin1String("xmltv_ns") && ns.isEmpty())
            ns = read_text(m_xml, 64).trimmed();
        else if (system == QLatin1String("onscreen") && onscreen.isEmpty())
            onscreen = read_text(m_xml, 64).simplified();
        else
            skip_element(m_xml);
    }

    std::optional<std::int64_t> read_length() {
        const std::int64_t line = m_xml.lineNumber();
        const QString units = m_xml.attributes().value(QLatin1String("units")).toString();
        const QString text = read_text(m_xml, 32);
        const auto seconds = length_seconds(units, text);
        if (!seconds) {
            ++m_result.bad_fields;
            note(line,
                 QStringLiteral("длительность «%1 %2» не разобрана").arg(text.trimmed(), units));
        }
        return seconds;
    }

    // A programme may list any number of categories; the first few decide its genre.
    static void add_category(QStringList& categories, QString text) {
        if (categories.size() < 16) categories.append(std::move(text));
    }

    // <star-rating> or <rating> with a <value> child; the first one with a per-cent value wins.
    void read_rating(std::int32_t& rating) {
        while (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("value")) {
                const auto percent = rating_percent(read_text(m_xml, 64));
                if (percent && rating < 0) rating = *percent;
            } else {
                skip_element(m_xml);
            }
        }
    }

    InputDevice& m_input;
    std::int64_t m_total;
    QString m_base_dir;
    const ReadOptions& m_options;
    const GenreMap& m_genres;
    Sink& m_sink;
    QXmlStreamReader m_xml;
    ZoneConverter m_zone;
    ProgrammeOrder m_order;
    TextStats m_text;
    HtmlEntities m_entities;
    ReadResult m_result;
    bool m_stopped = false;
    std::int64_t m_progress_at = 0;
};

const QString kUnknownZone = QStringLiteral("Неизвестный часовой пояс.");

ReadResult failed(const QString& message) {
    ReadResult r;
    r.message = message;
    return r;
}

ReadResult read_device(QIODevice& raw, std::int64_t total, const QString& base_dir,
                       const ReadOptions& options, Sink& sink) {
    const GenreMap* genres = &GenreMap::built_in();
    std::optional<GenreMap> own;
    if (!options.genre_map_path.isEmpty()) {
        QString error;
        own = GenreMap::load(options.genre_map_path, error);
        if (!own) return failed(error.left(1).toUpper() + error.mid(1) + QLatin1Char('.'));
        genres = &*own;
    }
    InputDevice input(raw);
    return Parser(input, total, base_dir, options, *genres, sink).run();
}

}  // namespace

ReadResult read_file(const QString& path, const ReadOptions& options, Sink& sink) {
    if (!options.zone.isValid()) return failed(kUnknownZone);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(
            QStringLiteral("Не удалось открыть файл «%1»: %2.").arg(path, file.errorString()));
    return read_device(file, file.size(), QFileInfo(path).absolutePath(), options, sink);
}

ReadResult read_data(const QByteArray& data, const QString& base_dir, const ReadOptions& options,
                     Sink& sink) {
    if (!options.zone.isValid()) return failed(kUnknownZone);
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return read_device(buffer, data.size(), base_dir, options, sink);
}

}  // namespace zt::xmltv
