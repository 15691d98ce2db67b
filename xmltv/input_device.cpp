#include "xmltv/input_device.h"

#include <QRegularExpression>

#include <zlib.h>
#include <algorithm>
#include <cstring>

namespace zt::xmltv {

namespace {

constexpr qint64 kChunk = 64 * 1024;
// The XML reader holds a whole text or attribute value in memory before it hands it over; no
// schedule text comes near this, so a longer stretch without markup is damage, not data.
constexpr std::int64_t kMaxTextRun = 4 * 1024 * 1024;

// Length of the valid UTF-8 sequence at `p` (at most `left` bytes), 0 when the bytes are
// invalid, -1 when they are a valid beginning cut off by the end of the buffer.
int utf8_sequence(const unsigned char* p, qsizetype left) {
    const unsigned char c = p[0];
    int len = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;  // overlong
        if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;  // past U+10FFFF
    } else {
        return 0;
    }
    for (int i = 1; i < len; ++i) {
        if (i >= left) return -1;
        const unsigned char lower = i == 1 ? lo : 0x80, upper = i == 1 ? hi : 0xBF;
        if (p[i] < lower || p[i] > upper) return 0;
    }
    return len;
}

}  // namespace

// Inflates the gzip members of the raw stream one after another. Bytes after the last member
// that do not start another one are ignored, as gzip itself does.
class Inflater final {
public:
    Inflater(QIODevice& raw, std::int64_t& raw_done) : m_raw(raw), m_raw_done(raw_done) {
        m_in.resize(kChunk);
        inflateInit2(&m_z, 15 + 16);
    }
    ~Inflater() { inflateEnd(&m_z); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Bytes written to `out`, 0 at the end of the last member, -1 on damage (see error()).
    qint64 read(char* out, qint64 max) {
        if (!m_error.isEmpty()) return -1;  // the bytes before the damage went out last time
        m_z.next_out = reinterpret_cast<Bytef*>(out);
        m_z.avail_out = static_cast<uInt>(max);
        while (m_z.avail_out == max) {
            if (m_z.avail_in == 0 && !refill()) {
                if (m_member_done) return 0;
                m_error = m_read_failed ? QStringLiteral("не удалось прочитать файл")
                                        : QStringLiteral("сжатый файл оборван");
                return m_z.avail_out == max ? -1 : max - m_z.avail_out;
            }
            if (m_member_done) {
                if (*m_z.next_in != 0x1f) return 0;  // trailing bytes, not another member
                inflateReset(&m_z);
                m_member_done = false;
            }
            const int rc = inflate(&m_z, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) {
                m_member_done = true;
            } else if (rc != Z_OK && !(rc == Z_BUF_ERROR && m_z.avail_in == 0)) {
                m_error = QStringLiteral("сжатые данные повреждены");
                return m_z.avail_out == max ? -1 : max - m_z.avail_out;
            }
        }
        return max - m_z.avail_out;
    }
    const QString& error() const { return m_error; }

private:
    bool refill() {
        const qint64 n = m_raw.read(m_in.data(), m_in.size());
        if (n <= 0) {
            m_read_failed = n < 0;
            return false;
        }
        m_raw_done += n;
        m_z.next_in = reinterpret_cast<Bytef*>(m_in.data());
        m_z.avail_in = static_cast<uInt>(n);
        return true;
    }

    QIODevice& m_raw;
    std::int64_t& m_raw_done;
    z_stream m_z{};
    QByteArray m_in;
    bool m_member_done = false;
    bool m_read_failed = false;
    QString m_error;
};

InputDevice::InputDevice(QIODevice& raw) : m_raw(raw) {
    open(QIODevice::ReadOnly);
}

InputDevice::~InputDevice() = default;

bool InputDevice::atEnd() const {
    return m_eof && m_pos == m_checked;
}

qint64 InputDevice::bytesAvailable() const {
    return (m_checked - m_pos) + QIODevice::bytesAvailable();
}

qint64 InputDevice::readData(char* data, qint64 maxlen) {
    if (m_pos == m_checked && !fill()) return m_eof ? 0 : -1;
    const qint64 n = std::min<qint64>(maxlen, m_checked - m_pos);
    std::copy_n(m_buf.constData() + m_pos, n, data);
    m_pos += n;
    return n;
}

void InputDevice::fail(const QString& text, std::int64_t line) {
    m_fault = text;
    m_fault_line = line;
    m_eof = true;
}

qint64 InputDevice::read_raw(char* data, qint64 maxlen) {
    if (m_inflater) {
        const qint64 n = m_inflater->read(data, maxlen);
        if (n < 0) fail(m_inflater->error(), m_line);
        return n;
    }
    const qint64 n = m_raw.read(data, maxlen);
    if (n < 0) fail(QStringLiteral("не удалось прочитать файл"), m_line);
    if (n > 0) m_raw_done += n;
    return n;
}

// Reads the next chunk; false when nothing more can be handed out.
bool InputDevice::fill() {
    while (m_pos == m_checked) {
        if (m_eof) return false;
        m_buf.remove(0, m_pos);
        m_checked -= m_pos;
        m_pos = 0;
        if (!m_started) {
            m_started = true;
            char magic[2];
            if (m_raw.peek(magic, 2) == 2 && magic[0] == '\x1f' && magic[1] == '\x8b')
                m_inflater = std::make_unique<Inflater>(m_raw, m_raw_done);
        }
        const qsizetype old = m_buf.size();
        m_buf.resize(old + kChunk);
        const qint64 n = read_raw(m_buf.data() + old, kChunk);
        m_buf.resize(old + std::max<qint64>(n, 0));
        if (n <= 0) m_eof = true;
        if (!m_sniffed && n > 0) {
            m_sniffed = true;
            sniff_encoding();
        }
        if (n > 0) check_text_run(old);
        check_utf8();
    }
    return true;
}

// Text is checked as UTF-8 unless the prolog names another encoding or a UTF-16 mark starts it.
void InputDevice::sniff_encoding() {
    const QByteArray head = m_buf.left(1024);
    if (head.startsWith("\xff\xfe") || head.startsWith("\xfe\xff") ||
        (head.size() >= 2 && (head[0] == 0 || head[1] == 0)))
        return;
    m_check_utf8 = true;
    const qsizetype end = head.indexOf("?>");
    if (!head.contains("<?xml") || end < 0) return;
    static const QRegularExpression re(QStringLiteral(R"(encoding\s*=\s*["']([^"']+)["'])"));
    const auto match = re.match(QString::fromLatin1(head.left(end)));
    if (!match.hasMatch()) return;
    const QString name = match.captured(1).toLower();
    m_check_utf8 = name == QLatin1String("utf-8") || name == QLatin1String("utf8");
    if (!m_check_utf8 && !name.startsWith(QLatin1String("utf"))) reject_utf8_as(match.captured(1));
}

// A file that declares a single-byte encoding but is written in UTF-8 would be read as nonsense
// without any error. Real single-byte text in the national letters is almost never valid UTF-8,
// so several valid multi-byte sequences and no invalid one in the first chunk mean the
// declaration is wrong: the stream ends before the first of them.
void InputDevice::reject_utf8_as(const QString& declared) {
    const auto* p = reinterpret_cast<const unsigned char*>(m_buf.constData());
    const qsizetype size = m_buf.size();
    qsizetype first = -1;
    int sequences = 0;
    for (qsizetype i = 0; i < size;) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int len = utf8_sequence(p + i, size - i);
        if (len == 0) return;
        if (len < 0) break;
        if (first < 0) first = i;
        ++sequences;
        i += len;
    }
    if (sequences < 8) return;
    const std::int64_t line = 1 + std::count(p, p + first, '\n');
    m_buf.truncate(first);
    fail(QStringLiteral("текст записан в UTF-8, а файл объявляет кодировку «%1»").arg(declared),
         line);
}

// Ends the stream where more than kMaxTextRun bytes have passed without a '<'.
void InputDevice::check_text_run(qsizetype from) {
    const char* p = m_buf.constData();
    const qsizetype size = m_buf.size();
    const char* first = static_cast<const char*>(std::memchr(p + from, '<', size_t(size - from)));
    const qsizetype until = first ? first - p : size;  // bytes of this run in the new data
    if (m_text_run + (until - from) > kMaxTextRun) {
        const qsizetype cut = from + qsizetype(kMaxTextRun - m_text_run);
        const std::int64_t line = m_line + std::count(p + m_checked, p + cut, '\n');
        m_buf.truncate(cut);
        fail(QStringLiteral("больше 4 МБ текста без разметки, файл повреждён"), line);
        return;
    }
    if (!first) {
        m_text_run += size - from;
        return;
    }
    const char* last = static_cast<const char*>(memrchr(p + from, '<', size_t(size - from)));
    m_text_run = size - (last - p) - 1;
}

void InputDevice::check_utf8() {
    const auto* p = reinterpret_cast<const unsigned char*>(m_buf.constData());
    const qsizetype size = m_buf.size();
    qsizetype i = m_checked;
    if (!m_check_utf8) {
        i = size;
    } else {
        while (i < size) {
            if (p[i] < 0x80) {
                ++i;
                continue;
            }
            const int len = utf8_sequence(p + i, size - i);
            if (len > 0) {
                i += len;
                continue;
            }
            if (len < 0 && !m_eof) break;  // the rest of the character comes with the next chunk
            m_line += std::count(p + m_checked, p + i, '\n');
            m_checked = i;
            m_buf.truncate(i);
            fail(QStringLiteral("текст не в кодировке UTF-8, которую объявляет файл"), m_line);
            return;
        }
    }
    m_line += std::count(p + m_checked, p + i, '\n');
    m_checked = i;
}

}  // namespace zt::xmltv
