#pragma once

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>

namespace zt::xmltv {

class Inflater;

// The bytes the XML reader sees: the raw file, or its gzip members inflated on the fly (chosen
// by the magic bytes, not the name). Text declared (or defaulting to) UTF-8 is checked as it
// passes: the stream ends just before the first invalid sequence, so that everything complete
// before it is still read, and the fault is reported with its own line number. A stretch of
// more than 4 MB without markup ends the stream the same way, since the XML reader would hold it
// in memory whole.
class InputDevice final : public QIODevice {
public:
    explicit InputDevice(QIODevice& raw);
    ~InputDevice() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 bytesAvailable() const override;

    // Russian text of the fault that ended the stream early, empty when it ended normally.
    const QString& fault() const { return m_fault; }
    // Line of that fault (counted from 1), 0 when none applies.
    std::int64_t fault_line() const { return m_fault_line; }
    // Raw bytes consumed so far (the compressed size for gzip).
    std::int64_t raw_done() const { return m_raw_done; }

protected:
    qint64 readData(char* data, qint64 maxlen) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    bool fill();
    qint64 read_raw(char* data, qint64 maxlen);
    void sniff_encoding();
    void reject_utf8_as(const QString& declared);
    void check_text_run(qsizetype from);
    void check_utf8();
    void fail(const QString& text, std::int64_t line);

    QIODevice& m_raw;
    std::unique_ptr<Inflater> m_inflater;
    QByteArray m_buf;         // inflated, checked bytes not yet handed out
    qsizetype m_pos = 0;      // next byte of m_buf to hand out
    qsizetype m_checked = 0;  // bytes of m_buf already checked
    bool m_started = false;
    bool m_sniffed = false;
    bool m_check_utf8 = false;
    bool m_eof = false;
    std::int64_t m_line = 1;  // line at m_checked
    std::int64_t m_raw_done = 0;
    std::int64_t m_text_run = 0;  // bytes since the last '<'
    QString m_fault;
    std::int64_t m_fault_line = 0;
};

}  // namespace zt::xmltv
