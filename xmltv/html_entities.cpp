#include "xmltv/html_entities.h"

namespace zt::xmltv {

namespace {

// The names of U+00A0 to U+00FF in order.
constexpr const char* kLatin1[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

struct Named {
    const char* name;
    char16_t code;
};

constexpr Named kOthers[] = {
    {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160},  {"scaron", 0x161},
    {"Yuml", 0x178},    {"fnof", 0x192},    {"circ", 0x2C6},    {"tilde", 0x2DC},
    {"ensp", 0x20},     {"emsp", 0x20},     {"thinsp", 0x20},   {"zwnj", 0x200C},
    {"zwj", 0x200D},    {"lrm", 0x200E},    {"rlm", 0x200F},    {"ndash", 0x2013},
    {"mdash", 0x2014},  {"lsquo", 0x2018},  {"rsquo", 0x2019},  {"sbquo", 0x201A},
    {"ldquo", 0x201C},  {"rdquo", 0x201D},  {"bdquo", 0x201E},  {"dagger", 0x2020},
    {"Dagger", 0x2021}, {"bull", 0x2022},   {"hellip", 0x2026}, {"permil", 0x2030},
    {"prime", 0x2032},  {"Prime", 0x2033},  {"lsaquo", 0x2039}, {"rsaquo", 0x203A},
    {"oline", 0x203E},  {"frasl", 0x2044},  {"euro", 0x20AC},   {"trade", 0x2122},
    {"larr", 0x2190},   {"rarr", 0x2192},   {"minus", 0x2212},  {"Alpha", 0x391},
    {"Beta", 0x392},    {"Gamma", 0x393},   {"Delta", 0x394},   {"Epsilon", 0x395},
    {"Zeta", 0x396},    {"Eta", 0x397},     {"Theta", 0x398},   {"Iota", 0x399},
    {"Kappa", 0x39A},   {"Lambda", 0x39B},  {"Mu", 0x39C},      {"Nu", 0x39D},
    {"Xi", 0x39E},      {"Omicron", 0x39F}, {"Pi", 0x3A0},      {"Rho", 0x3A1},
    {"Sigma", 0x3A3},   {"Tau", 0x3A4},     {"Upsilon", 0x3A5}, {"Phi", 0x3A6},
    {"Chi", 0x3A7},     {"Psi", 0x3A8},     {"Omega", 0x3A9},   {"alpha", 0x3B1},
    {"beta", 0x3B2},    {"gamma", 0x3B3},   {"delta", 0x3B4},   {"epsilon", 0x3B5},
    {"zeta", 0x3B6},    {"eta", 0x3B7},     {"theta", 0x3B8},   {"iota", 0x3B9},
    {"kappa", 0x3BA},   {"lambda", 0x3BB},  {"mu", 0x3BC},      {"nu", 0x3BD},
    {"xi", 0x3BE},      {"omicron", 0x3BF}, {"pi", 0x3C0},      {"rho", 0x3C1},
    {"sigmaf", 0x3C2},  {"sigma", 0x3C3},   {"tau", 0x3C4},     {"upsilon", 0x3C5},
    {"phi", 0x3C6},     {"chi", 0x3C7},     {"psi", 0x3C8},     {"omega", 0x3C9},
};

}  // namespace

const QByteArray& html_entity_declarations() {
    static const QByteArray text = [] {
        QByteArray t;
        auto declare = [&t](const char* name, char16_t code) {
            t += "<!ENTITY ";
            t += name;
            t += " \"&#xFDD0;&#x";
            t += QByteArray::number(int(code), 16);
            t += ";\">\n";
        };
        // A no-break space is a space the text's spacing rules see.
        declare("nbsp", u' ');
        for (int i = 1; i < 96; ++i) declare(kLatin1[i], char16_t(0xA0 + i));
        for (const auto& n : kOthers) declare(n.name, n.code);
        return t;
    }();
    return text;
}

}  // namespace zt::xmltv
