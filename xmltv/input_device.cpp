#include "xmltv/input_device.h"

#include <QRegularExpression>

#include <zlib.h>
#include <algorithm>
#include <cstring>

namespace zt::xmltv {

namespace {

constexpr qint64 kChunk = 64 * 1024;
// No schedule text comes near this, so a longer stretch without markup is damage, not data.
constexpr std::int64_t kMaxTextRun = 4 * 1024 * 1024;

}  // namespace

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

InputDevice::InputDevice(QIODevice& raw) : m_raw(raw) {}

InputDevice::~InputDevice() = default;

void InputDevice::fail(const QString& text) {
    m_fault = text;
    m_eof = true;
}

qint64 InputDevice::read_raw(char* data, qint64 maxlen) {
    if (m_inflater) {
        const qint64 n = m_inflater->read(data, maxlen);
        if (n < 0) fail(m_inflater->error());
        return n;
    }
    const qint64 n = m_raw.read(data, maxlen);
    if (n < 0) fail(QStringLiteral("не удалось прочитать файл"));
    if (n > 0) m_raw_done += n;
    return n;
}

qint64 InputDevice::read(char* out, qint64 max) {
    if (m_eof) return 0;
    if (!m_started) {
        m_started = true;
        char magic[2];
        if (m_raw.peek(magic, 2) == 2 && magic[0] == '\x1f' && magic[1] == '\x8b')
            m_inflater = std::make_unique<Inflater>(m_raw, m_raw_done);
    }
    qint64 n = read_raw(out, max);
    if (n <= 0) {
        m_eof = true;
        return 0;
    }
    if (!m_sniffed) {
        m_sniffed = true;
        sniff_encoding(out, n);
        if (!m_utf8 && !m_declared.startsWith(QLatin1String("utf")) && !m_declared.isEmpty())
            n = reject_utf8_as(out, n, m_declared_as_written);
    }
    return check_text_run(out, n);
}

// Text is UTF-8 unless the prolog names another encoding or a UTF-16 mark starts it.
void InputDevice::sniff_encoding(const char* data, qint64 size) {
    const QByteArray head = QByteArray::fromRawData(data, qsizetype(std::min<qint64>(size, 1024)));
    if (head.startsWith("\xff\xfe") || head.startsWith("\xfe\xff") ||
        (head.size() >= 2 && (head[0] == 0 || head[1] == 0))) {
        m_utf8 = false;
        return;
    }
    const qsizetype end = head.indexOf("?>");
    if (!head.contains("<?xml") || end < 0) return;
    static const QRegularExpression re(QStringLiteral(R"(encoding\s*=\s*["']([^"']+)["'])"));
    const auto match = re.match(QString::fromLatin1(head.left(end)));
    if (!match.hasMatch()) return;
    m_declared_as_written = match.captured(1);
    m_declared = m_declared_as_written.toLower();
    m_utf8 = m_declared == QLatin1String("utf-8") || m_declared == QLatin1String("utf8");
}

// A file that declares a single-byte encoding but is written in UTF-8 would be read as nonsense
// without any error. Real single-byte text in the national letters is almost never valid UTF-8,
// so several valid multi-byte sequences and no invalid one in the first chunk mean the
// declaration is wrong: the stream ends before the first of them.
qint64 InputDevice::reject_utf8_as(const char* data, qint64 size, const QString& declared) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    qint64 first = -1;
    int sequences = 0;
    for (qint64 i = 0; i < size;) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int len = utf8_sequence(p + i, size - i);
        if (len == 0) return size;
        if (len < 0) break;
        if (first < 0) first = i;
        ++sequences;
        i += len;
    }
    if (sequences < 8) return size;
    fail(QStringLiteral("текст записан в UTF-8, а файл объявляет кодировку «%1»").arg(declared));
    return first;
}

// Ends the stream where more than kMaxTextRun bytes have passed without a '<'.
qint64 InputDevice::check_text_run(const char* p, qint64 size) {
    const char* first = static_cast<const char*>(std::memchr(p, '<', size_t(size)));
    const qint64 until = first ? first - p : size;  // bytes of this run in the new data
    if (m_text_run + until > kMaxTextRun) {
        fail(QStringLiteral("больше 4 МБ текста без разметки, файл повреждён"));
        return qint64(kMaxTextRun - m_text_run);
    }
    if (!first) {
        m_text_run += size;
        return size;
    }
    const char* last = static_cast<const char*>(memrchr(p, '<', size_t(size)));
    m_text_run = size - (last - p) - 1;
    return size;
}

}  // namespace zt::xmltv
