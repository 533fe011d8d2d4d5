#include "cli/TerminalGuard.h"

#include "cli/TerminalText.h"

namespace {

// Bytes at the end of text that start a UTF-8 sequence not yet complete; they
// wait for the next write so the sequence is judged whole.
size_t UnfinishedUtf8Tail(const std::string& text) {
    const size_t limit = text.size() < 3 ? text.size() : 3;
    for (size_t back = 1; back <= limit; ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: look further back for the lead
        size_t needed = 0;
        if ((byte & 0xE0) == 0xC0)
            needed = 2;
        else if ((byte & 0xF0) == 0xE0)
            needed = 3;
        else if ((byte & 0xF8) == 0xF0)
            needed = 4;
        return needed > back ? back : 0;
    }
    return 0;
}

} // namespace

// Passes what is left without flushing: the owner of target flushes it
// and reports a failure with the system's reason.
TerminalGuardBuf::~TerminalGuardBuf() {
    Pass(m_pending.size());
}

void TerminalGuardBuf::Pass(size_t count) {
    if (count == 0)
        return;
    std::string out;
    size_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        const char c = m_pending[i];
        if (c != '\n' && c != '\t')
            continue;
        AppendTerminalSafe(out, std::string_view(m_pending).substr(start, i - start));
        out += c;
        start = i + 1;
    }
    AppendTerminalSafe(out, std::string_view(m_pending).substr(start, count - start));
    m_pending.erase(0, count);
    m_target.write(out.data(), static_cast<std::streamsize>(out.size()));
}

TerminalGuardBuf::int_type TerminalGuardBuf::overflow(int_type ch) {
    if (traits_type::eq_int_type(ch, traits_type::eof()))
        return traits_type::not_eof(ch);
    const char c = traits_type::to_char_type(ch);
    xsputn(&c, 1);
    return ch;
}

std::streamsize TerminalGuardBuf::xsputn(const char* text, std::streamsize count) {
    m_pending.append(text, static_cast<size_t>(count));
    if (const size_t line = m_pending.rfind('\n'); line != std::string::npos)
        Pass(line + 1);
    return count;
}

int TerminalGuardBuf::sync() {
    Pass(m_pending.size() - UnfinishedUtf8Tail(m_pending));
    m_target.flush();
    return m_target ? 0 : -1;
}

bool IsStreamOf(const std::ostream& stream, const std::ostream& base) {
    if (&stream == &base)
        return true;
    const auto* guard = dynamic_cast<const TerminalGuardStream*>(&stream);
    return guard && &guard->Target() == &base;
}
