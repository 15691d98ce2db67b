// libFuzzer target: an XMLTV document through the streaming reader. First byte even: the rest
// is the file as it is; odd: the rest is gzip-compressed here first, so the fuzzer reaches the
// inflating input as well as the XML behind it. The sink checks what the reader promises: each
// channel's programmes come in order without overlapping, every finish after its start, fields
// within 255 bytes, ratings in per cent.
#include <QHash>
#include <QTimeZone>

#include <zlib.h>
#include <cstdint>
#include <cstdlib>

#include "xmltv/xmltv_reader.h"

namespace {

QByteArray gzip(const char* data, std::size_t size) {
    z_stream z{};
    deflateInit2(&z, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(size))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = uInt(size);
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

class CheckingSink final : public zt::xmltv::Sink {
public:
    void channel(const zt::xmltv::Channel& c) override {
        if (c.name.size() > 255 || c.icon_path.startsWith(QLatin1String("http"))) std::abort();
    }
    void programme(const zt::xmltv::Programme& p) override {
        if (p.finish <= p.start || p.title.size() > 255 || p.descr.size() > 255 || p.rating > 100 ||
            p.rating < -1)
            std::abort();
        const auto last = m_last_finish.constFind(p.channel_id);
        if (last != m_last_finish.constEnd() && p.start < *last) std::abort();
        m_last_finish.insert(p.channel_id, p.finish);
    }

private:
    QHash<QString, zt::DateTime> m_last_finish;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char* body = reinterpret_cast<const char*>(data + 1);
    const QByteArray input =
        (data[0] & 1) ? gzip(body, size - 1) : QByteArray(body, qsizetype(size - 1));
    zt::xmltv::ReadOptions options;
    options.zone = QTimeZone::utc();  // wall-clock order is then the order of the instants
    CheckingSink sink;
    zt::xmltv::read_data(input, QStringLiteral("/fuzz"), options, sink);
    return 0;
}
