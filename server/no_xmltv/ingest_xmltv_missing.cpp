// Stands in for the XMLTV ingest while the build has no XMLTV reader.
#include "server/ingest.h"

namespace zt::server {

IngestResult ingest_xmltv(Database&, const QString&, const std::string&, const QTimeZone&) {
    return {false, "this build has no XMLTV reader", 0, 0};
}

}  // namespace zt::server
