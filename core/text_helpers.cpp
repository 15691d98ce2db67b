#include "core/text_helpers.h"

#include <QByteArray>
#include <QCryptographicHash>

#include "core/cp1251.h"
#include "core/time_zones.h"

namespace zt {

int split_char(std::string_view text, std::vector<std::string>& list, char sep) {
    return split_text(text, list, std::string_view(&sep, 1));
}

int split_text(std::string_view text, std::vector<std::string>& list, std::string_view sep) {
    list.clear();
    if (sep.empty()) {
        list.emplace_back(text);
        return 1;
    }
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(sep, from);
        if (at == std::string_view::npos) break;
        list.emplace_back(text.substr(from, at - from));
        from = at + sep.size();
    }
    list.emplace_back(text.substr(from));
    return int(list.size());
}

std::string FormatMoney(std::string_view amount) {
    if (amount == "0" || amount.empty()) return "0 руб."_cp;
    std::string rubles(amount.size() > 2 ? amount.substr(0, amount.size() - 2) : "");
    if (rubles.empty()) rubles = "0";
    // Kopecks always take two digits: "5" is 0 rubles 05 kopecks.
    std::string kop(amount.size() >= 2 ? amount.substr(amount.size() - 2) : amount);
    if (kop.size() < 2) kop.insert(0, 2 - kop.size(), '0');
    if (kop == "00") return rubles + " руб."_cp;
    return rubles + " руб. "_cp + kop + " коп."_cp;
}

std::string plain_descr(std::string_view text) {
    std::string s(text);
    auto replace_all = [&s](std::string_view what, std::string_view with) {
        std::string out;
        out.reserve(s.size());
        std::size_t from = 0;
        for (;;) {
            const std::size_t at = s.find(what, from);
            if (at == std::string::npos) break;
            out.append(s, from, at - from);
            out.append(with);
            from = at + what.size();
        }
        out.append(s, from, std::string::npos);
        s.swap(out);
    };
    replace_all("<b>", "");
    replace_all("</b>", "");
    replace_all("\r\n", " ");
    replace_all("\n", "");
    replace_all("\r", "");
    return s;
}

std::string md5_hex(std::string_view text) {
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(text.data(), qsizetype(text.size())), QCryptographicHash::Md5);
    return digest.toHex().toStdString();
}

std::string int_or_default(std::string_view text, long def) {
    const long v = leading_int(text);
    return std::to_string(v != 0 ? v : def);
}

}  // namespace zt
