#include "xmltv_test_support.h"

#include <QTimeZone>

#include <zlib.h>
#include <cstdio>

namespace zt::test {

QByteArray xmltv_doc(const QByteArray& body, const char* encoding) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\n<tv>\n" + body +
           "</tv>\n";
}

QByteArray gzip(const QByteArray& data) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&z, uLong(data.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

xmltv::ReadResult read_xmltv(const QByteArray& data, CollectingSink& sink, const char* zone) {
    xmltv::ReadOptions options;
    options.zone = QTimeZone(zone);
    return xmltv::read_data(data, QStringLiteral("/base"), options, sink);
}

std::string text_of(DateTime t) {
    int y = 0, m = 0, d = 0;
    t.toParts(y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", y, m, d, t.hour(), t.minute());
    return buf;
}

}  // namespace zt::test
