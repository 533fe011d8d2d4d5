#pragma once

// A strict little JSON reader for checking velkora-cli's output: it accepts
// only what RFC 8259 allows and reports the first fault.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text; // UTF-8
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    const JsonValue& operator[](const std::string& key) const { return members.at(key); }
    const JsonValue& operator[](size_t index) const { return items.at(index); }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    // Parses the whole text; false with Error() on any fault.
    bool Read(JsonValue& value) {
        SkipSpace();
        if (!Value(value))
            return false;
        SkipSpace();
        return m_pos == m_text.size() || Fail("text after the value");
    }
    const std::string& Error() const { return m_error; }

private:
    bool Fail(const std::string& what) {
        if (m_error.empty())
            m_error = what + " at offset " + std::to_string(m_pos);
        return false;
    }
    void SkipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\n' ||
                                         m_text[m_pos] == '\r' || m_text[m_pos] == '\t'))
            ++m_pos;
    }
    bool Literal(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word)
            return Fail("bad literal");
        m_pos += word.size();
        return true;
    }
    bool Value(JsonValue& v) {
        if (m_pos >= m_text.size())
            return Fail("end of text");
        const char c = m_text[m_pos];
        if (c == '{')
            return Object(v);
        if (c == '[')
            return Array(v);
        if (c == '"') {
            v.kind = JsonValue::Kind::String;
            return String(v.text);
        }
        if (c == 't' || c == 'f') {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = c == 't';
            return Literal(c == 't' ? "true" : "false");
        }
        if (c == 'n')
            return Literal("null");
        return Number(v);
    }
    bool Number(JsonValue& v) {
        const size_t start = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '-')
            ++m_pos;
        const size_t digits = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9')
            ++m_pos;
        if (m_pos == digits || (m_text[digits] == '0' && m_pos - digits > 1))
            return Fail("bad number");
        v.kind = JsonValue::Kind::Number;
        v.number = std::stod(std::string(m_text.substr(start, m_pos - start)));
        return true;
    }
    bool Hex4(uint32_t& code) {
        if (m_text.size() - m_pos < 4)
            return Fail("short \\u escape");
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = m_text[m_pos++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= static_cast<uint32_t>(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= static_cast<uint32_t>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= static_cast<uint32_t>(h - 'A' + 10);
            else
                return Fail("bad hex digit");
        }
        return true;
    }
    static void AppendUtf8(std::string& out, uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    bool String(std::string& out) {
        ++m_pos; // opening quote
        out.clear();
        while (true) {
            if (m_pos >= m_text.size())
                return Fail("unterminated string");
            const auto c = static_cast<unsigned char>(m_text[m_pos++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return Fail("raw control character in string");
            if (c >= 0x80) {
                // Raw bytes must form valid UTF-8.
                const size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
                if (length == 0 || m_pos - 1 + length > m_text.size())
                    return Fail("invalid UTF-8");
                for (size_t k = 1; k < length; ++k)
                    if ((static_cast<unsigned char>(m_text[m_pos - 1 + k]) & 0xC0) != 0x80)
                        return Fail("invalid UTF-8");
                out.append(m_text.substr(m_pos - 1, length));
                m_pos += length - 1;
                continue;
            }
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (m_pos >= m_text.size())
                return Fail("unterminated escape");
            const char e = m_text[m_pos++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                uint32_t code = 0;
                if (!Hex4(code))
                    return false;
                if (code >= 0xD800 && code <= 0xDBFF) {
                    uint32_t low = 0;
                    if (m_text.substr(m_pos, 2) != "\\u")
                        return Fail("lone surrogate");
                    m_pos += 2;
                    if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return Fail("bad surrogate pair");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    return Fail("lone surrogate");
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                return Fail("bad escape");
            }
        }
    }
    bool Array(JsonValue& v) {
        v.kind = JsonValue::Kind::Array;
        ++m_pos;
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']') {
            ++m_pos;
            return true;
        }
        while (true) {
            SkipSpace();
            JsonValue item;
            if (!Value(item))
                return false;
            v.items.push_back(std::move(item));
            SkipSpace();
            if (m_pos >= m_text.size())
                return Fail("unterminated array");
            const char c = m_text[m_pos++];
            if (c == ']')
                return true;
            if (c != ',')
                return Fail("expected , or ]");
        }
    }
    bool Object(JsonValue& v) {
        v.kind = JsonValue::Kind::Object;
        ++m_pos;
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}') {
            ++m_pos;
            return true;
        }
        while (true) {
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                return Fail("expected member name");
            std::string key;
            if (!String(key))
                return false;
            if (v.members.count(key))
                return Fail("duplicate member " + key);
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos++] != ':')
                return Fail("expected :");
            SkipSpace();
            if (!Value(v.members[key]))
                return false;
            SkipSpace();
            if (m_pos >= m_text.size())
                return Fail("unterminated object");
            const char c = m_text[m_pos++];
            if (c == '}')
                return true;
            if (c != ',')
                return Fail("expected , or }");
        }
    }

    std::string_view m_text;
    size_t m_pos = 0;
    std::string m_error;
};
