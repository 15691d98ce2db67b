#pragma once

#include <ostream>
#include <string_view>

namespace zt {

// The JSON outputs of zorvan-cli keep their keys in a fixed order (the documented inspection
// formats), which QJsonObject with its sorted keys cannot; every command writes through this.

// A JSON string of UTF-8 text; quotes, backslashes and control characters are escaped.
void put_json_string(std::ostream& out, std::string_view utf8);

// One JSON object written as its keys come: {"a": 1, "b": "x"}. key() writes the separator
// and the name and returns the stream for the value; the destructor closes the object.
class JsonObject final {
public:
    explicit JsonObject(std::ostream& out) : m_out(out) { m_out << '{'; }
    ~JsonObject() { m_out << '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;
    std::ostream& key(const char* name) {
        if (m_n++) m_out << ", ";
        m_out << '"' << name << "\": ";
        return m_out;
    }

private:
    std::ostream& m_out;
    int m_n = 0;
};

}  // namespace zt
