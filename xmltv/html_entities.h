#pragma once

#include <QByteArray>

namespace zt::xmltv {

// Entities a file uses without declaring them. Grabbers copy HTML text into their files, so
// "&nbsp;", "&eacute;" or "&mdash;" turn up in documents that declare no such entity: each name
// HTML defines (the Latin-1 set, typographic punctuation, the Greek letters) stands for its
// character, "&nbsp;" and the other spaces for a plain space. The reader hands the parser these
// declarations as the document's external subset (never the file a DOCTYPE names), so a
// document's own declarations come first and win. Each replacement text begins with
// kEntityMark, by which the reader counts and then drops it.
const QByteArray& html_entity_declarations();

// U+FDD0, a noncharacter no text needs, in UTF-8.
inline constexpr char kEntityMark[] = "\xEF\xB7\x90";
inline constexpr int kEntityMarkSize = 3;

}  // namespace zt::xmltv
