#pragma once

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>

namespace zt::xmltv {

class Inflater;

// The bytes the XML parser sees: the raw file, or its gzip members inflated on the fly (chosen
// by the magic bytes, not the name), read straight into the parser's buffer. The encoding the
// prolog declares is noted; a file that declares a single-byte encoding but is written in UTF-8
// ends just before its first multi-byte sequence. A stretch of more than 4 MB without markup ends
// the stream the same way, since no schedule text comes near it and the parser holds a whole
// token (a tag with its attributes, a comment) in memory. Either fault keeps everything complete
// before it readable; the parser names the line where the stream stopped.
class InputDevice final {
public:
    explicit InputDevice(QIODevice& raw);
    ~InputDevice();
    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    // Up to `max` bytes into `out`; 0 once the stream has ended (normally or at a fault).
    qint64 read(char* out, qint64 max);
    bool ended() const { return m_eof; }

    // Russian text of the fault that ended the stream early, empty when it ended normally.
    const QString& fault() const { return m_fault; }
    // Raw bytes consumed so far (the compressed size for gzip).
    std::int64_t raw_done() const { return m_raw_done; }
    // The encoding the prolog names (lower case), empty when it names none.
    const QString& declared_encoding() const { return m_declared; }
    // True unless the text is UTF-16 or declares an encoding other than UTF-8.
    bool utf8() const { return m_utf8; }

private:
    qint64 read_raw(char* data, qint64 maxlen);
    void sniff_encoding(const char* data, qint64 size);
    qint64 reject_utf8_as(const char* data, qint64 size, const QString& declared);
    qint64 check_text_run(const char* data, qint64 size);
    void fail(const QString& text);

    QIODevice& m_raw;
    std::unique_ptr<Inflater> m_inflater;
    bool m_started = false;
    bool m_sniffed = false;
    bool m_utf8 = true;
    bool m_eof = false;
    std::int64_t m_raw_done = 0;
    std::int64_t m_text_run = 0;  // bytes since the last '<'
    QString m_declared;           // lower case
    QString m_declared_as_written;
    QString m_fault;
};

// Length of the valid UTF-8 sequence at `p` (at most `left` bytes), 0 when the bytes are
// invalid, -1 when they are a valid beginning cut off by the end of the buffer.
int utf8_sequence(const unsigned char* p, qsizetype left);

}  // namespace zt::xmltv
