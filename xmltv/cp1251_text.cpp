#include "xmltv/cp1251_text.h"

#include <QString>

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>

#include "core/cp1251.h"

namespace zt::xmltv {

namespace {

constexpr char kEllipsis = '\x85';

// CP1251 byte of each UTF-16 unit; 0 where the code page has none.
struct CodeTable {
    std::array<unsigned char, 65536> byte{};
    CodeTable() {
        for (int c = 1; c < 0x80; ++c) byte[c] = static_cast<unsigned char>(c);
        for (int b = 0x80; b < 0x100; ++b) {
            const QString u = QString::fromUtf8(to_utf8(std::string(1, static_cast<char>(b))));
            if (u.size() == 1) byte[u[0].unicode()] = static_cast<unsigned char>(b);
        }
        byte[0x98] = 0;  // the code page's unassigned byte stands for a control character
    }
};

const CodeTable& table() {
    static const auto t = std::make_unique<CodeTable>();
    return *t;
}

// Characters without a CP1251 form or a Unicode decomposition that still have an obvious one.
const char* substitute(char16_t c) {
    switch (c) {
        case 0x2010:
        case 0x2011:
        case 0x2012:
        case 0x2043:
        case 0x2212:
            return "-";
        case 0x2015:
            return "\x97";  // horizontal bar: em dash
        case 0x2032:
        case 0x201B:
        case 0x02BC:
        case 0x02B9:
        case 0x2035:
        case 0x00B4:
            return "'";
        case 0x2033:
        case 0x201F:
        case 0x02BA:
        case 0x2036:
            return "\"";
        case 0x2044:
        case 0x2215:
            return "/";
        case 0x00D7:
            return "x";
        case 0x02C6:
            return "^";
        case 0x02DC:
            return "~";
        case 0x200B:
        case 0x200C:
        case 0x200D:
        case 0x2060:
        case 0xFEFF:
            return "";
        // Letters without a decomposition, written as Latin readers spell them.
        case 0x00DF:
            return "ss";
        case 0x1E9E:
            return "SS";
        case 0x0131:
            return "i";
        case 0x0153:
            return "oe";
        case 0x0152:
            return "OE";
        case 0x00E6:
            return "ae";
        case 0x00C6:
            return "AE";
        case 0x00F8:
            return "o";
        case 0x00D8:
            return "O";
        case 0x0142:
            return "l";
        case 0x0141:
            return "L";
        case 0x0111:
        case 0x00F0:
            return "d";
        case 0x0110:
        case 0x00D0:
            return "D";
        case 0x00FE:
            return "th";
        case 0x00DE:
            return "Th";
        // Currency signs CP1251 lacks (it has the euro sign).
        case 0x00A3:
            return "GBP";
        case 0x00A5:
            return "JPY";
        case 0x00A2:
            return "c";
        case 0x20BA:
            return "TL";
        case 0x20BD:
            return "\xF0\xF3\xE1.";  // "руб."
        case 0x20B4:
            return "\xE3\xF0\xED";  // "грн"
        default:
            return nullptr;
    }
}

// Appends the CP1251 form of `c`; false when there is none.
bool encode(QChar c, std::string& out, int depth = 0) {
    if (const unsigned char b = table().byte[c.unicode()]) {
        out += static_cast<char>(b);
        return true;
    }
    if (const char* s = substitute(c.unicode())) {
        out += s;
        return true;
    }
    const QString parts = c.decomposition();
    if (parts.isEmpty() || depth > 3) return false;
    const std::size_t before = out.size();
    for (QChar p : parts) {
        if (p.category() == QChar::Mark_NonSpacing) continue;  // the accent of a letter
        if (!encode(p, out, depth + 1)) {
            out.resize(before);
            return false;
        }
    }
    return out.size() > before;
}

// True when every unit of `text` is white space or has a CP1251 byte: the common case, which
// needs neither normalisation nor transliteration.
bool plain(QStringView text) {
    for (const QChar c : text)
        if (table().byte[c.unicode()] == 0 && !c.isSpace()) return false;
    return true;
}

// Latin letters for scripts CP1251 lacks (Greek, Arabic, Hebrew, Georgian, Armenian, East Asian
// and others): ICU's rule-based transliteration into Latin, then into plain ASCII. One per
// thread, made when first needed; nothing (and '?' as before) when ICU lacks the rules.
icu::Transliterator* to_latin() {
    thread_local const std::unique_ptr<icu::Transliterator> t = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(icu::Transliterator::createInstance(
            icu::UnicodeString(u"Any-Latin; Latin-ASCII"), UTRANS_FORWARD, status));
        if (U_FAILURE(status)) made.reset();
        return made;
    }();
    return t.get();
}

QString transliterate(QStringView run) {
    icu::Transliterator* t = to_latin();
    if (!t) return {};
    icu::UnicodeString u(run.utf16(), int32_t(run.size()));
    t->transliterate(u);
    return QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
}

// A character that no rule of `encode` writes, and that ICU may: part of a foreign-script run.
bool needs_script(QStringView text, qsizetype i) {
    const QChar c = text[i];
    if (table().byte[c.unicode()] != 0 || c.isSpace() || c.isSurrogate()) return false;
    std::string probe;
    return !encode(c, probe);
}

// The text composed (NFC) with every character CP1251 lacks written in its nearest form or in
// Latin letters; what has no readable form becomes '?'. Counts go to `stats`.
QString readable(QStringView text, TextStats& stats) {
    const QString composed = text.toString().normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size();) {
        const QChar c = composed[i];
        if (!needs_script(composed, i)) {
            out += c;
            ++i;
            continue;
        }
        if (c.category() == QChar::Mark_NonSpacing) {  // an accent with no composed form
            ++stats.transliterated;
            ++i;
            continue;
        }
        // The run of such characters, with the spaces and marks between them, as one piece:
        // the rules look at neighbouring letters (Greek final sigma, diphthongs).
        qsizetype end = i + 1, last = i + 1;
        while (end < composed.size() && (needs_script(composed, end) || composed[end].isSpace() ||
                                         composed[end].category() == QChar::Mark_NonSpacing)) {
            ++end;
            if (needs_script(composed, end - 1)) last = end;
        }
        const QStringView run = QStringView(composed).sliced(i, last - i);
        const QString latin = transliterate(run);
        std::string probe;
        bool readable_all = !latin.isEmpty();
        for (const QChar l : latin) {
            probe.clear();
            if (!l.isSpace() && !encode(l, probe)) readable_all = false;
        }
        if (readable_all) {
            for (const QChar r : run)
                if (!r.isSpace() && r.category() != QChar::Mark_NonSpacing) ++stats.transliterated;
            out += latin;
        } else {
            out += run;  // written character by character below, '?' where nothing fits
        }
        i = last;
    }
    return out;
}

// Spaces in the sense of QChar::isSpace beyond ASCII.
bool wide_space(char32_t c) {
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

}  // namespace

std::string fit_cp1251(std::string_view utf8, std::size_t max_bytes, TextStats& stats) {
    const auto& bytes = table().byte;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    std::string out;
    out.reserve(std::min<std::size_t>(utf8.size(), max_bytes + 1));
    bool space = false;
    while (p < end) {
        char32_t c = *p;
        if (c < 0x80) {
            ++p;
            if (c == ' ' || (c >= '\t' && c <= '\r')) {
                space = !out.empty();
                continue;
            }
        } else {
            // Valid UTF-8 is given; a character beyond the table (or anything else) takes the
            // general path, which also counts what it changes.
            int len = 0;
            if (c >= 0xC2 && c <= 0xDF && end - p >= 2) {
                c = ((c & 0x1F) << 6) | (p[1] & 0x3F);
                len = 2;
            } else if (c >= 0xE0 && c <= 0xEF && end - p >= 3) {
                c = ((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
                len = 3;
            } else {
                break;
            }
            p += len;
            if (wide_space(c)) {
                space = !out.empty();
                continue;
            }
            c = bytes[c];
            if (c == 0) {
                p = nullptr;
                break;
            }
        }
        if (out.size() > max_bytes) continue;  // past the cut: only checked
        if (space) out += ' ';
        space = false;
        out += char(c);
    }
    if (p != end) {
        const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
        return fit_cp1251(QStringView(text), max_bytes, stats);
    }
    if (out.size() > max_bytes) {
        out.resize(max_bytes - 1);
        while (!out.empty() && out.back() == ' ') out.pop_back();
        out += kEllipsis;
        ++stats.cut;
    }
    return out;
}

std::string fit_cp1251(QStringView text, std::size_t max_bytes, TextStats& stats) {
    QString prepared;
    if (!plain(text)) {
        prepared = readable(text, stats);
        text = prepared;
    }
    std::string out;
    out.reserve(std::min<std::size_t>(text.size(), max_bytes + 1));
    bool space = false;
    for (qsizetype i = 0; i < text.size() && out.size() <= max_bytes; ++i) {
        const QChar c = text[i];
        if (c.isSpace()) {
            space = !out.empty();
            continue;
        }
        if (space) out += ' ';
        space = false;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (encode(c, out)) {
            if (table().byte[c.unicode()] == 0) ++stats.transliterated;
            continue;
        }
        out += '?';
        ++stats.replaced;
    }
    if (out.size() > max_bytes) {
        out.resize(max_bytes - 1);
        while (!out.empty() && out.back() == ' ') out.pop_back();
        out += kEllipsis;
        ++stats.cut;
    }
    return out;
}

}  // namespace zt::xmltv
