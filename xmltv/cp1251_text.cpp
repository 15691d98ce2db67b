#include "xmltv/cp1251_text.h"

#include <QString>

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

}  // namespace

std::string fit_cp1251(QStringView text, std::size_t max_bytes, TextStats& stats) {
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
            if (table().byte[c.unicode()] == 0) ++stats.replaced;
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
