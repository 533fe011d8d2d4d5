#include "model/CsvTable.h"

#include "model/TextEncoding.h"

namespace {

constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

std::string TooLongText(size_t maxField) {
    return "a field is longer than " + std::to_string(maxField) + " bytes";
}

std::string DecodeText(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        return SanitizeUtf8(bytes.substr(kUtf8Bom.size()));
    if (bytes.substr(0, kUtf16LeBom.size()) == kUtf16LeBom)
        return Utf16LeToUtf8(bytes.substr(kUtf16LeBom.size()));
    return SanitizeUtf8(bytes);
}

// Walks the text once; m_pos only moves forward, so every input ends.
class CsvParser {
public:
    CsvParser(std::string_view text, size_t maxField) : m_text(text), m_maxField(maxField) {}

    CsvTable Parse() {
        while (m_pos < m_text.size() && m_table.Ok()) {
            CsvRecord record;
            record.line = m_line;
            ReadRecord(record);
            const bool blank = record.fields.size() == 1 && record.fields[0].empty();
            if (m_table.Ok() && !blank)
                m_table.records.push_back(std::move(record));
        }
        return std::move(m_table);
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return m_text[m_pos]; }

    // Consumes a line break at m_pos when there is one.
    bool TakeLineBreak() {
        if (AtEnd() || (Peek() != '\r' && Peek() != '\n'))
            return false;
        if (Peek() == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n')
            ++m_pos;
        ++m_pos;
        ++m_line;
        return true;
    }

    void ReadRecord(CsvRecord& record) {
        for (;;) {
            std::string field;
            if (!AtEnd() && Peek() == '"')
                ReadQuoted(field);
            else
                ReadPlain(field);
            if (!m_table.Ok())
                return;
            std::string cell = UnprotectCsvCell(field);
            if (cell.size() > m_maxField) {
                FailTooLong();
                return;
            }
            record.fields.push_back(std::move(cell));
            if (AtEnd() || TakeLineBreak())
                return;
            ++m_pos; // the comma
        }
    }

    void ReadPlain(std::string& field) {
        const size_t start = m_pos;
        while (!AtEnd() && Peek() != ',' && Peek() != '\r' && Peek() != '\n') {
            // One byte past the limit is enough to refuse; the rest of a
            // huge field is never copied.
            if (m_pos - start > RawMax())
                break;
            ++m_pos;
        }
        field.assign(m_text.substr(start, m_pos - start));
    }

    void ReadQuoted(std::string& field) {
        const size_t openLine = m_line;
        ++m_pos;
        for (;;) {
            if (AtEnd()) {
                Fail("a quoted field is not closed", openLine);
                return;
            }
            if (Peek() == '"') {
                ++m_pos;
                if (AtEnd() || Peek() != '"')
                    break;
            } else if (Peek() == '\r' || Peek() == '\n') {
                const char first = Peek();
                TakeLineBreak();
                // The line break is kept as written, CRLF included.
                field.push_back(first);
                if (first == '\r' && m_text[m_pos - 1] == '\n')
                    field.push_back('\n');
                continue;
            }
            if (field.size() > RawMax())
                return;
            field.push_back(m_text[m_pos++]);
        }
        if (!AtEnd() && Peek() != ',' && Peek() != '\r' && Peek() != '\n')
            Fail("text follows a closing quote", m_line);
    }

    // A cell may carry one protecting "'" on top of the limit.
    size_t RawMax() const { return m_maxField + 1; }

    void FailTooLong() {
        m_table.error = TooLongText(m_maxField);
        m_table.errorLine = m_line;
        m_table.records.clear();
    }

    void Fail(const char* what, size_t line) {
        m_table.error = what;
        m_table.errorLine = line;
        m_table.records.clear();
    }

    std::string_view m_text;
    size_t m_maxField;
    size_t m_pos = 0;
    size_t m_line = 1;
    CsvTable m_table;
};

bool NeedsQuotes(const std::string& field) {
    if (field.empty())
        return false;
    if (field.front() == ' ' || field.back() == ' ' || field.front() == '\t' ||
        field.back() == '\t')
        return true;
    return field.find_first_of(",\"\r\n") != std::string::npos;
}

} // namespace

namespace {

// A run of bytes without comma, quote or line break lies inside one field,
// and decoding never shortens it. The first run longer than the limit plus a
// protecting quote refuses the file before the text is decoded and copied;
// the line counts line breaks as the parser does. Zero when there is none.
size_t LineOfOverlongRun(std::string_view bytes, size_t maxField) {
    size_t line = 1;
    size_t run = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            if (!(c == '\n' && i > 0 && bytes[i - 1] == '\r'))
                ++line;
            run = 0;
        } else if (c == ',' || c == '"') {
            run = 0;
        } else if (++run > maxField + 1) {
            return line;
        }
    }
    return 0;
}

} // namespace

CsvTable ReadCsv(std::string_view bytes, size_t maxFieldBytes) {
    if (bytes.substr(0, kUtf16LeBom.size()) != kUtf16LeBom) {
        const std::string_view body =
            bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom ? bytes.substr(kUtf8Bom.size()) : bytes;
        const size_t line = LineOfOverlongRun(body, maxFieldBytes);
        if (line != 0) {
            CsvTable refused;
            refused.error = TooLongText(maxFieldBytes);
            refused.errorLine = line;
            return refused;
        }
    }
    const std::string text = DecodeText(bytes);
    return CsvParser(text, maxFieldBytes).Parse();
}

namespace {

bool IsFormulaStart(char c) {
    return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r' || c == '\'';
}

} // namespace

std::string ProtectCsvCell(std::string_view cell) {
    std::string out;
    if (!cell.empty() && IsFormulaStart(cell.front()))
        out.push_back('\'');
    out.append(cell);
    return out;
}

std::string UnprotectCsvCell(std::string_view cell) {
    if (cell.size() >= 2 && cell.front() == '\'' && IsFormulaStart(cell[1]))
        cell.remove_prefix(1);
    return std::string(cell);
}

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i)
            out.push_back(',');
        const std::string f = ProtectCsvCell(fields[i]);
        if (!NeedsQuotes(f)) {
            out.append(f);
            continue;
        }
        out.push_back('"');
        for (const char c : f) {
            if (c == '"')
                out.push_back('"');
            out.push_back(c);
        }
        out.push_back('"');
    }
    out.append("\r\n");
}
