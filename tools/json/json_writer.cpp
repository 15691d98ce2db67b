#include "tools/json/json_writer.h"

namespace zt {

void put_json_string(std::ostream& out, std::string_view utf8) {
    static const char* hex = "0123456789abcdef";
    out << '"';
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out << "\\\"";
                break;
            case '\\':
                out << "\\\\";
                break;
            case '\n':
                out << "\\n";
                break;
            case '\r':
                out << "\\r";
                break;
            case '\t':
                out << "\\t";
                break;
            default:
                if (c < 0x20)
                    out << "\\u00" << hex[c >> 4] << hex[c & 15];
                else
                    out << ch;
        }
    }
    out << '"';
}

}  // namespace zt
