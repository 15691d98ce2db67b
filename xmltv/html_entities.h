#pragma once

#include <QString>
#include <QXmlStreamEntityResolver>

#include <cstdint>

namespace zt::xmltv {

// Entities a file uses without declaring them. Grabbers copy HTML text into their files, so
// "&nbsp;", "&eacute;" or "&mdash;" turn up in documents that declare no such entity: each name
// HTML defines (the Latin-1 set, typographic punctuation, the Greek letters) stands for its
// character, "&nbsp;" and the other spaces for a plain space. Every one resolved is counted.
// A name HTML does not define stays undeclared: in a document with a DOCTYPE the XML reader
// hands it on as an unresolved reference, which read_text turns into a space (counted with
// `unresolved()`), elsewhere it is an error of the document.
class HtmlEntities final : public QXmlStreamEntityResolver {
public:
    QString resolveUndeclaredEntity(const QString& name) override;
    void count_unresolved() { ++m_unresolved; }
    std::int64_t resolved() const { return m_resolved; }
    std::int64_t unresolved() const { return m_unresolved; }

private:
    std::int64_t m_resolved = 0;
    std::int64_t m_unresolved = 0;
};

}  // namespace zt::xmltv
