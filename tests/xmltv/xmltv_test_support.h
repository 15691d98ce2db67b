#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

#include "xmltv/xmltv_reader.h"

namespace zt::test {

// Keeps everything the reader delivers.
class CollectingSink final : public xmltv::Sink {
public:
    void channel(const xmltv::Channel& c) override { channels.push_back(c); }
    void programme(const xmltv::Programme& p) override { programmes.push_back(p); }
    std::vector<xmltv::Channel> channels;
    std::vector<xmltv::Programme> programmes;
};

// A whole document: the prolog (UTF-8 unless `encoding` names another), <tv> and `body`.
QByteArray xmltv_doc(const QByteArray& body, const char* encoding = "UTF-8");
// The bytes as one gzip member.
QByteArray gzip(const QByteArray& data);
// Reads `data` into `sink` with the target zone given by its IANA name.
xmltv::ReadResult read_xmltv(const QByteArray& data, CollectingSink& sink,
                             const char* zone = "Europe/Moscow");
// "yyyy-MM-dd hh:mm" of a delivered time.
std::string text_of(DateTime t);

}  // namespace zt::test
