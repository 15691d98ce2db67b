#include "xmltv/xmltv_reader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

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
constexpr int kChunk = 64 * 1024;
// Elements below <tv> nested deeper than any schedule needs: the parser keeps every open one.
constexpr int kMaxDepth = 64;
// Bytes of an element's text kept (a field is cut to 255 bytes anyway, so a huge text costs no
// memory); enough for 4096 characters of any script.
constexpr std::size_t kTextBytes = 4 * 4096;
// Sets of categories remembered with their genre, each at most this long.
constexpr std::size_t kGenreCacheSize = 4096;
constexpr std::size_t kGenreKeyBytes = 512;
constexpr std::int64_t kMaxToken = 4 * 1024 * 1024;

// Lets the maps keyed by std::string be searched with a string_view.
struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

QString qstring(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

bool is_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
    return s;
}

// The value of attribute `name`, empty when it is missing.
std::string_view attribute(const char** atts, const char* name) {
    for (; atts[0]; atts += 2)
        if (std::strcmp(atts[0], name) == 0) return atts[1];
    return {};
}

// Appends the UTF-8 text of an element, up to `limit` bytes (never a character in part).
void append_text(std::string& to, std::string_view s, std::size_t limit) {
    if (to.size() >= limit) return;
    if (to.size() + s.size() > limit) {
        std::size_t n = limit - to.size();
        while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
        s = s.substr(0, n);
    }
    to.append(s);
}

// The text of one of several elements that may repeat in languages (title, desc, display-name):
// the first one, or the first Russian one when the first is not.
struct Preferred final {
    std::string text;
    bool russian = false;
    bool set = false;
    void clear() {
        text.clear();
        russian = set = false;
    }
    void offer(std::string& value, bool is_russian) {
        if (!set || (is_russian && !russian)) {
            text.swap(value);
            russian = is_russian;
            set = true;
        }
    }
};

bool russian(const char** atts) {
    const std::string_view lang = attribute(atts, "lang");
    return lang.size() >= 2 && (lang[0] == 'r' || lang[0] == 'R') &&
           (lang[1] == 'u' || lang[1] == 'U');
}

// A Russian description of the parser's own errors.
QString expat_error_text(XML_Error code) {
    switch (code) {
        case XML_ERROR_NO_ELEMENTS:
        case XML_ERROR_UNCLOSED_TOKEN:
        case XML_ERROR_PARTIAL_CHAR:
        case XML_ERROR_UNCLOSED_CDATA_SECTION:
            return QStringLiteral("файл оборван, документ XML не завершён");
        case XML_ERROR_TAG_MISMATCH:
            return QStringLiteral(
                "нарушена разметка XML (закрывающий тег не совпадает с "
                "открывающим)");
        case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
            return QStringLiteral("нарушена разметка XML (данные после корневого элемента)");
        case XML_ERROR_DUPLICATE_ATTRIBUTE:
            return QStringLiteral("нарушена разметка XML (атрибут повторён)");
        case XML_ERROR_UNDEFINED_ENTITY:
            return QStringLiteral("нарушена разметка XML (сущность не объявлена)");
        case XML_ERROR_INVALID_TOKEN:
            return QStringLiteral("нарушена разметка XML (недопустимый символ)");
        case XML_ERROR_SYNTAX:
            return QStringLiteral("нарушена разметка XML (синтаксическая ошибка)");
        default:
            return QStringLiteral("нарушена разметка XML (%1)")
                .arg(QString::fromUtf8(XML_ErrorString(code)));
    }
}

// The parser's table of the single-byte code page `name` (each byte's character, -1 for a byte
// the code page lacks), from Qt's decoder; nothing when Qt does not know the name or the
// encoding has characters of more than one byte.
std::unique_ptr<XML_Encoding> code_page_table(const char* name) {
    if (!QStringDecoder(name).isValid()) return nullptr;
    auto table = std::make_unique<XML_Encoding>();
    *table = {};
    for (int b = 0; b < 256; ++b) {
        // A byte that takes the next one into its character is not of a single-byte code page.
        for (const char next : {'A', '\xA1'}) {
            const char two[2] = {char(b), next};
            QStringDecoder pair(name);
            if (QString(pair.decode(QByteArrayView(two, 2))).size() != 2) return nullptr;
        }
        const char one[1] = {char(b)};
        QStringDecoder decoder(name);
        const QString c = decoder.decode(QByteArrayView(one, 1));
        const bool valid = c.size() == 1 && !decoder.hasError() && c[0] != QChar(0xFFFD);
        table->map[b] = valid ? int(c[0].unicode()) : -1;
    }
    return table;
}

// Encodings the parser reads itself.
bool parser_knows(const QString& lower_name) {
    for (const char* known : {"utf-8", "utf-16", "utf-16le", "utf-16be", "iso-8859-1", "us-ascii"})
        if (lower_name == QLatin1String(known)) return true;
    return false;
}

// One pass over the document: <tv> with <channel> and <programme> children; anything else is
// passed over. The parser (expat) hands on UTF-8 whatever the file's encoding.
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
          m_zone(options.zone),
          m_order([this](Programme& p) { deliver(p); }) {
        m_xml = XML_ParserCreate(nullptr);
        XML_SetUserData(m_xml, this);
        XML_SetElementHandler(m_xml, &Parser::on_start, &Parser::on_end);
        XML_SetCharacterDataHandler(m_xml, &Parser::on_text);
        XML_SetSkippedEntityHandler(m_xml, &Parser::on_skipped_entity);
        XML_SetStartDoctypeDeclHandler(m_xml, &Parser::on_doctype);
        XML_SetUnknownEncodingHandler(m_xml, &Parser::on_unknown_encoding, this);
        // HTML's entities come as the external subset, whether the document names one or not.
        XML_SetParamEntityParsing(m_xml, XML_PARAM_ENTITY_PARSING_ALWAYS);
        XML_UseForeignDTD(m_xml, XML_TRUE);
        XML_SetExternalEntityRefHandler(m_xml, &Parser::on_external_entity);
    }
    ~Parser() { XML_ParserFree(m_xml); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    ReadResult run() {
        parse();
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
        m_result.entities = m_entities;
        set_outcome();
        return m_result;
    }

private:
    // Feeds the input to the parser; sets m_error / m_error_line on a fault.
    void parse() {
        std::vector<char> raw;  // the file's bytes when they are decoded here
        for (bool first = true;; first = false) {
            char* buffer =
                m_decoder ? raw.data() : static_cast<char*>(XML_GetBuffer(m_xml, kChunk));
            if (!buffer) return fail_xml(XML_GetCurrentLineNumber(m_xml));
            const qint64 n = m_input.read(buffer, kChunk);
            const bool last = m_input.ended() && m_input.fault().isEmpty();
            if (first && decode_here()) {
                raw.resize(kChunk);
                std::copy_n(buffer, n, raw.data());
                buffer = raw.data();
            }
            if (!m_decoder) m_fed += n;
            const bool ok = m_decoder ? feed_decoded(buffer, n, last)
                                      : XML_ParseBuffer(m_xml, int(n), last) == XML_STATUS_OK;
            if (!ok) return fail_xml(XML_GetCurrentLineNumber(m_xml));
            if (last) return;
            // The parser keeps an unfinished tag or comment whole; one this long is damage.
            if (m_fed - XML_GetCurrentByteIndex(m_xml) > kMaxToken) {
                m_error = QStringLiteral("разметка длиннее 4 МБ без конца, файл повреждён");
                m_error_line = XML_GetCurrentLineNumber(m_xml);
                return;
            }
            if (m_input.ended()) {
                // The input stopped at its own fault, after everything complete before it.
                m_error = m_input.fault();
                m_error_line = line_at_end();
                return;
            }
        }
    }

    // An encoding with characters of several bytes (Shift_JIS, GB18030, Big5, EUC-KR, ...)
    // that Qt knows: decoded here and handed to the parser as UTF-8. True when so.
    bool decode_here() {
        const QString& name = m_input.declared_encoding();
        if (name.isEmpty() || parser_knows(name)) return false;
        if (name == QLatin1String("utf8")) {
            XML_SetEncoding(m_xml, "UTF-8");
            return false;
        }
        const QByteArray latin = name.toLatin1();
        if (!QStringDecoder(latin.constData()).isValid() || code_page_table(latin.constData()))
            return false;
        m_decoder = std::make_unique<QStringDecoder>(latin.constData());
        XML_SetEncoding(m_xml, "UTF-8");
        return true;
    }

    bool feed_decoded(const char* data, qint64 size, bool last) {
        QString text = m_decoder->decode(QByteArrayView(data, qsizetype(size)));
        bool bad = m_decoder->hasError();
        if (bad) {
            // Everything before the first byte that is not of the encoding is read (the decoder
            // puts U+FFFD or, for some encodings, the control character SUB in its place).
            const auto at = std::find_if(text.cbegin(), text.cend(), [](QChar c) {
                return c == QChar(0xFFFD) || c == QChar(0x1A);
            });
            text.truncate(at - text.cbegin());
        }
        const QByteArray utf8 = text.toUtf8();
        m_fed += utf8.size();
        if (XML_Parse(m_xml, utf8.constData(), int(utf8.size()), last && !bad) != XML_STATUS_OK)
            return false;
        if (bad) {
            m_error = QStringLiteral("текст не соответствует кодировке, объявленной в файле");
            m_error_line = line_at_end();
            return false;
        }
        return true;
    }

    // The line of the last byte the parser was given.
    std::int64_t line_at_end() {
        std::int64_t line = std::int64_t(XML_GetCurrentLineNumber(m_xml));
        int offset = 0, size = 0;
        if (const char* context = XML_GetInputContext(m_xml, &offset, &size))
            line += std::count(context + offset, context + size, '\n');
        return line;
    }

    void fail_xml(std::uint64_t line) {
        if (!m_error.isEmpty() || m_stopped) return;  // our own fault, already named
        const XML_Error code = XML_GetErrorCode(m_xml);
        m_error_line = std::int64_t(line);
        if (code == XML_ERROR_UNKNOWN_ENCODING || code == XML_ERROR_INCORRECT_ENCODING) {
            m_error = QStringLiteral("кодировка, объявленная в файле, не поддерживается (%1)")
                          .arg(m_input.declared_encoding());
            return;
        }
        if ((code == XML_ERROR_INVALID_TOKEN || code == XML_ERROR_PARTIAL_CHAR) &&
            invalid_text_at_fault()) {
            m_error = m_input.utf8()
                          ? QStringLiteral("текст не в кодировке UTF-8, которую объявляет файл")
                          : QStringLiteral("текст не соответствует кодировке, объявленной в файле");
            return;
        }
        m_error = expat_error_text(code);
    }

    // True when the token the parser stopped at holds bytes that are not text of the file's
    // encoding (for UTF-8: an invalid sequence; for a single-byte code page: a byte it lacks).
    bool invalid_text_at_fault() {
        int offset = 0, size = 0;
        const char* context = XML_GetInputContext(m_xml, &offset, &size);
        if (!context) return false;
        const auto* p = reinterpret_cast<const unsigned char*>(context);
        const int until = std::min(size, offset + 4096);
        for (int i = offset; i < until;) {
            if (i > offset && p[i] == '<') break;
            if (!m_input.utf8()) {
                if (m_single_byte && p[i] >= 0x80 && m_single_byte->map[p[i]] < 0) return true;
                ++i;
                continue;
            }
            const int len = utf8_sequence(p + i, until - i);
            if (len == 0 || (len < 0 && until == size)) return true;
            if (len < 0) break;
            i += len;
        }
        return false;
    }

    void set_outcome() {
        if (m_stopped) {
            m_result.message = QStringLiteral("Чтение файла прервано.");
            return;
        }
        if (m_error.isEmpty()) {
            m_result.ok = true;
            if (m_options.progress) m_options.progress(m_input.raw_done(), m_total);
            return;
        }
        m_result.line = m_error_line;
        m_result.message = QStringLiteral("Строка %1: %2.").arg(m_error_line).arg(m_error);
    }

    // Stops the parser at a fault of our own finding.
    void stop(const QString& why) {
        if (m_error.isEmpty()) {
            m_error = why;
            m_error_line = line();
        }
        XML_StopParser(m_xml, XML_FALSE);
    }

    std::int64_t line() const { return std::int64_t(XML_GetCurrentLineNumber(m_xml)); }

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
        if (m_options.cancelled && m_options.cancelled()) {
            m_stopped = true;
            XML_StopParser(m_xml, XML_FALSE);
        }
        const std::int64_t done = m_input.raw_done();
        if (m_options.progress && done - m_progress_at >= kProgressStep) {
            m_progress_at = done;
            m_options.progress(done, m_total);
        }
    }

    // Names what had to be left out or read without a field; the first few only.
    void note(std::int64_t line, const QString& what) {
        if (m_result.problems.size() < kProblemsNamed)
            m_result.problems.append(QStringLiteral("строка %1: %2").arg(line).arg(what));
    }

    // An attribute's value with the marks of HTML entities (see html_entities.h) taken out and
    // counted; `scratch` holds the value then.
    std::string_view value_of(const char** atts, const char* name, std::string& scratch) {
        std::string_view v = attribute(atts, name);
        if (v.find(kEntityMark) == std::string_view::npos) return v;
        scratch.assign(v);
        for (std::size_t at; (at = scratch.find(kEntityMark)) != std::string::npos;) {
            scratch.erase(at, kEntityMarkSize);
            ++m_entities;
        }
        return scratch;
    }

    // ---- the parser's events

    static void XMLCALL on_start(void* self, const char* name, const char** atts) {
        static_cast<Parser*>(self)->start(name, atts);
    }
    static void XMLCALL on_end(void* self, const char*) { static_cast<Parser*>(self)->end(); }
    static void XMLCALL on_text(void* self, const char* s, int len) {
        auto* p = static_cast<Parser*>(self);
        if (!p->m_capture) return;
        std::string_view text(s, std::size_t(len));
        // The replacement text of an HTML entity comes alone, led by its mark.
        if (text.starts_with(kEntityMark)) {
            ++p->m_entities;
            text.remove_prefix(kEntityMarkSize);
        }
        append_text(*p->m_capture, text, p->m_capture_limit);
    }
    static void XMLCALL on_skipped_entity(void* self, const char* name, int parameter) {
        auto* p = static_cast<Parser*>(self);
        if (parameter) return;
        // An entity neither the document nor HTML defines: a space in a document with a DOCTYPE,
        // so that the words around it stay apart; an error of the document without one.
        if (!p->m_doctype)
            return p->stop(QStringLiteral("нарушена разметка XML (сущность «%1» не объявлена)")
                               .arg(QString::fromUtf8(name)));
        ++p->m_entities;
        if (p->m_capture) append_text(*p->m_capture, " ", p->m_capture_limit);
    }
    static void XMLCALL on_doctype(void* self, const char*, const char*, const char*, int) {
        static_cast<Parser*>(self)->m_doctype = true;
    }
    // The external subset and external parameter entities: HTML's entities the first time,
    // nothing after. External general entities are not followed either: no file or address a
    // document names is ever read.
    static int XMLCALL on_external_entity(XML_Parser parser, const char* context, const char*,
                                          const char*, const char*) {
        auto* self = static_cast<Parser*>(XML_GetUserData(parser));
        if (context) return XML_STATUS_OK;
        XML_Parser sub = XML_ExternalEntityParserCreate(parser, nullptr, "UTF-8");
        if (!sub) return XML_STATUS_ERROR;
        const QByteArray& text = self->m_declared_html ? QByteArray() : html_entity_declarations();
        self->m_declared_html = true;
        const auto status = XML_Parse(sub, text.constData(), int(text.size()), XML_TRUE);
        XML_ParserFree(sub);
        return status == XML_STATUS_OK ? XML_STATUS_OK : XML_STATUS_ERROR;
    }

    // Single-byte encodings the parser does not know itself (windows-1251, KOI8-R,
    // ISO-8859-5, ...), by the table of each byte's character.
    static int XMLCALL on_unknown_encoding(void* data, const XML_Char* name, XML_Encoding* info) {
        auto* self = static_cast<Parser*>(data);
        self->m_single_byte = code_page_table(name);
        if (!self->m_single_byte) return XML_STATUS_ERROR;
        *info = *self->m_single_byte;
        return XML_STATUS_OK;
    }

    void start(const char* name, const char** atts) {
        ++m_depth;
        if (m_depth == 1) {
            if (std::strcmp(name, "tv") != 0)
                stop(QStringLiteral("это не файл XMLTV: корневой элемент «%1», а не «tv»")
                         .arg(QString::fromUtf8(name)));
            return;
        }
        if (m_depth > kMaxDepth + 1)
            return stop(QStringLiteral("элементы вложены глубже %1 уровней").arg(kMaxDepth));
        if (m_depth == 2) {
            m_skip = false;
            if (std::strcmp(name, "programme") == 0) {
                m_in = In::programme;
                begin_programme(atts);
            } else if (std::strcmp(name, "channel") == 0) {
                m_in = In::channel;
                begin_channel(atts);
            } else {
                m_in = In::other;
            }
            return;
        }
        if (m_skip || m_capture || m_in == In::other) return;
        if (m_in == In::programme)
            programme_child(name, atts);
        else
            channel_child(name, atts);
    }

    void end() {
        if (m_capture && m_depth == m_capture_depth) end_capture();
        if (m_in_rating && m_depth == 3) m_in_rating = false;
        if (m_depth == 2) {
            if (!m_skip && m_in == In::programme) end_programme();
            if (!m_skip && m_in == In::channel) end_channel();
            m_in = In::other;
            report_progress();
        }
        --m_depth;
    }

    enum class Field {
        none,
        display_name,
        title,
        sub_title,
        descr,
        category,
        length,
        ns,
        onscreen,
        rating
    };

    void capture(Field field, std::size_t limit, bool russian = false) {
        m_text_buf.clear();
        m_capture = &m_text_buf;
        m_capture_limit = limit;
        m_capture_depth = m_depth;
        m_field = field;
        m_field_russian = russian;
    }

    void end_capture() {
        m_capture = nullptr;
        switch (m_field) {
            case Field::display_name:
                m_name.offer(m_text_buf, m_field_russian);
                break;
            case Field::title:
                m_title.offer(m_text_buf, m_field_russian);
                break;
            case Field::sub_title:
                m_sub_title.offer(m_text_buf, m_field_russian);
                break;
            case Field::descr:
                m_descr.offer(m_text_buf, m_field_russian);
                break;
            case Field::category:
                // A programme may list any number of categories; the first few decide its
                // genre.
                if (m_categories_used < 16) m_categories[m_categories_used++].swap(m_text_buf);
                break;
            case Field::length:
                read_length();
                break;
            case Field::ns:
                m_ns.assign(trimmed(m_text_buf));
                break;
            case Field::onscreen:
                m_onscreen = qstring(m_text_buf).simplified();
                break;
            case Field::rating:
                if (const auto percent = rating_percent(std::string_view(m_text_buf));
                    percent && m_rating < 0)
                    m_rating = *percent;
                break;
            case Field::none:
                break;
        }
        m_field = Field::none;
    }

    void begin_channel(const char** atts) {
        m_channel_id = qstring(attribute(atts, "id"));
        if (m_channel_id.isEmpty()) {
            note(line(), QStringLiteral("канал без атрибута id пропущен"));
            ++m_result.skipped_channels;
            m_skip = true;
            return;
        }
        m_name.clear();
        m_icon.clear();
    }

    void channel_child(const char* name, const char** atts) {
        if (m_depth != 3) return;
        if (std::strcmp(name, "display-name") == 0) {
            capture(Field::display_name, kTextBytes, russian(atts));
        } else if (std::strcmp(name, "icon") == 0 && m_icon.isEmpty()) {
            std::string scratch;
            m_icon = local_icon(qstring(value_of(atts, "src", scratch)), m_base_dir);
        }
    }

    void end_channel() {
        Channel channel;
        channel.id = m_channel_id;
        channel.icon_path = m_icon;
        // A channel without a display name is still listed, under its id.
        channel.name = m_name.set ? fit_cp1251(std::string_view(m_name.text), kFieldBytes, m_text)
                                  : fit_cp1251(QStringView(m_channel_id), kFieldBytes, m_text);
        m_sink.channel(channel);
        ++m_result.channels;
    }

    // Seconds since the epoch of a time attribute; nothing when it is missing or unreadable
    // (`fault` says which).
    std::optional<std::int64_t> time_attribute(std::string_view value, TimeFault& fault) {
        fault = TimeFault::none;
        if (value.empty()) return std::nullopt;
        const auto utc = parse_time(QByteArrayView(value.data(), qsizetype(value.size())), &fault);
        if (fault == TimeFault::unknown_zone) ++m_result.unknown_zones;
        return utc;
    }

    static QString time_problem(QLatin1String name, std::string_view value, TimeFault fault) {
        const QString shown = qstring(value).left(40);
        return fault == TimeFault::unknown_zone
                   ? QStringLiteral("часовой пояс в %1=«%2» неизвестен").arg(name, shown)
                   : QStringLiteral("время %1=«%2» не разобрано").arg(name, shown);
    }

    void skip_programme(std::int64_t line, const QString& why) {
        note(line, QStringLiteral("передача пропущена: ") + why);
        ++m_result.skipped_programmes;
        m_skip = true;
    }

    // The channel id as a shared QString: one per channel, not one per programme.
    QString channel_of(std::string_view id) {
        if (id.size() > 256) return qstring(id);  // beyond any real id: not kept
        if (m_ids.size() > 100000) m_ids.clear();
        auto it = m_ids.find(id);
        if (it == m_ids.end()) it = m_ids.emplace(std::string(id), qstring(id)).first;
        return it->second;
    }

    void begin_programme(const char** atts) {
        m_line = line();
        std::string scratch;
        const std::string_view channel = value_of(atts, "channel", scratch);
        if (channel.empty()) return skip_programme(m_line, QStringLiteral("нет атрибута channel"));
        m_programme = Programme();
        m_programme.channel_id = channel_of(channel);
        TimeFault fault = TimeFault::none;
        std::string start_scratch, stop_scratch;
        const std::string_view start_text = value_of(atts, "start", start_scratch);
        m_start = time_attribute(start_text, fault);
        if (!m_start)
            return skip_programme(m_line,
                                  fault == TimeFault::none
                                      ? QStringLiteral("нет атрибута start")
                                      : time_problem(QLatin1String("start"), start_text, fault));
        // An optional field that cannot be read is left out; the programme stays.
        const std::string_view stop_text = value_of(atts, "stop", stop_scratch);
        m_stop = time_attribute(stop_text, fault);
        if (fault != TimeFault::none) {
            ++m_result.bad_fields;
            note(m_line, time_problem(QLatin1String("stop"), stop_text, fault) +
                             QStringLiteral(", передача без конца"));
        }
        m_title.clear();
        m_sub_title.clear();
        m_descr.clear();
        m_ns.clear();
        m_onscreen.clear();
        m_categories_used = 0;
        m_length.reset();
        m_rating = -1;
        m_in_rating = false;
    }

    void programme_child(const char* name, const char** atts) {
        if (m_in_rating) {
            // <star-rating> or <rating> with a <value> child; the first per-cent value wins.
            if (m_depth == 4 && std::strcmp(name, "value") == 0) capture(Field::rating, 64 * 4);
            return;
        }
        if (m_depth != 3) return;
        if (std::strcmp(name, "title") == 0) {
            capture(Field::title, kTextBytes, russian(atts));
        } else if (std::strcmp(name, "sub-title") == 0) {
            capture(Field::sub_title, kTextBytes, russian(atts));
        } else if (std::strcmp(name, "desc") == 0) {
            capture(Field::descr, kTextBytes, russian(atts));
        } else if (std::strcmp(name, "category") == 0) {
            capture(Field::category, 256 * 4);
        } else if (std::strcmp(name, "length") == 0) {
            m_length_line = line();
            std::string scratch;
            m_length_units.assign(value_of(atts, "units", scratch));
            capture(Field::length, 32 * 4);
        } else if (std::strcmp(name, "episode-num") == 0) {
            // "xmltv_ns" or "onscreen"; the first of each kind counts.
            const std::string_view system = attribute(atts, "system");
            if (system == "xmltv_ns" && m_ns.empty())
                capture(Field::ns, 64 * 4);
            else if (system == "onscreen" && m_onscreen.isEmpty())
                capture(Field::onscreen, 64 * 4);
        } else if (std::strcmp(name, "star-rating") == 0 || std::strcmp(name, "rating") == 0) {
            m_in_rating = true;
        }
    }

    void read_length() {
        const QString units = qstring(m_length_units);
        const QString text = qstring(m_text_buf);
        m_length = length_seconds(units, text);
        if (!m_length) {
            ++m_result.bad_fields;
            note(m_length_line,
                 QStringLiteral("длительность «%1 %2» не разобрана").arg(text.trimmed(), units));
        }
    }

    // The genre of the programme's categories; each set of categories is resolved once.
    Genre genre() {
        std::string& key = m_genre_key;
        key.clear();
        for (int i = 0; i < m_categories_used; ++i) {
            key += m_categories[i];
            key += '\x1f';
        }
        if (const auto it = m_genre_cache.find(key); it != m_genre_cache.end()) return it->second;
        QStringList categories;
        for (int i = 0; i < m_categories_used; ++i) categories.append(qstring(m_categories[i]));
        const Genre g = m_genres.resolve(categories);
        if (key.size() > kGenreKeyBytes) return g;  // the cache stays small
        if (m_genre_cache.size() >= kGenreCacheSize) m_genre_cache.clear();
        m_genre_cache.emplace(key, g);
        return g;
    }

    void end_programme() {
        Programme& p = m_programme;
        p.start = DateTime::fromSeconds(*m_start);
        p.title = fit_cp1251(std::string_view(m_title.text), kFieldBytes, m_text);
        QString mark;
        if (!m_ns.empty()) {
            if (const auto ns = episode_mark(qstring(m_ns))) {
                mark = *ns;
            } else {
                ++m_result.bad_fields;
                note(m_line,
                     QStringLiteral("номер серии «%1» не разобран").arg(qstring(m_ns).left(40)));
            }
        }
        if (mark.isEmpty()) mark = m_onscreen.left(64);
        if (mark.isEmpty() && trimmed(m_sub_title.text).empty())
            p.descr = fit_cp1251(std::string_view(m_descr.text), kFieldBytes, m_text);
        else
            p.descr = fit_cp1251(record_text(qstring(m_title.text), mark, qstring(m_sub_title.text),
                                             qstring(m_descr.text)),
                                 kFieldBytes, m_text);
        const Genre g = genre();
        p.type_family = g.family;
        p.type_sub = g.sub;
        p.rating = m_rating;
        // Without stop, a <length> gives the end before the next programme's start does.
        std::optional<DateTime> finish;
        if (m_stop)
            finish = DateTime::fromSeconds(*m_stop);
        else if (m_length)
            finish = DateTime::fromSeconds(*m_start + *m_length);
        m_order.add(std::move(p), finish);
    }

    InputDevice& m_input;
    std::int64_t m_total;
    QString m_base_dir;
    const ReadOptions& m_options;
    const GenreMap& m_genres;
    Sink& m_sink;
    XML_Parser m_xml = nullptr;
    ZoneConverter m_zone;
    ProgrammeOrder m_order;
    TextStats m_text;
    ReadResult m_result;
    bool m_stopped = false;
    std::int64_t m_progress_at = 0;
    QString m_error;  // the fault that ended the read, empty when none did
    std::int64_t m_error_line = 0;
    std::unique_ptr<XML_Encoding> m_single_byte;
    std::unique_ptr<QStringDecoder> m_decoder;
    std::int64_t m_fed =
        0;  // bytes given to the parser  // for encodings of several bytes a character
    bool m_doctype = false;
    bool m_declared_html = false;
    std::int64_t m_entities = 0;

    // Where the parser is.
    enum class In { other, channel, programme };
    int m_depth = 0;
    In m_in = In::other;
    bool m_skip = false;  // the current top-level element is left out
    std::string* m_capture = nullptr;
    std::size_t m_capture_limit = 0;
    int m_capture_depth = 0;
    Field m_field = Field::none;
    bool m_field_russian = false;
    std::string m_text_buf;

    // The channel being read.
    QString m_channel_id;
    Preferred m_name;
    QString m_icon;

    // The programme being read.
    Programme m_programme;
    std::int64_t m_line = 0;
    std::optional<std::int64_t> m_start, m_stop, m_length;
    Preferred m_title, m_sub_title, m_descr;
    std::string m_ns;
    QString m_onscreen;
    std::string m_categories[16];
    int m_categories_used = 0;
    std::string m_length_units;
    std::int64_t m_length_line = 0;
    std::int32_t m_rating = -1;
    bool m_in_rating = false;

    std::unordered_map<std::string, QString, StringHash, std::equal_to<>> m_ids;
    std::unordered_map<std::string, Genre> m_genre_cache;
    std::string m_genre_key;
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
    // The parser's own buffer is the only one the bytes pass through.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
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
