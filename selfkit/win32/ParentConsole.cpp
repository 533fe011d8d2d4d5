#include "selfkit/win32/ParentConsole.h"

#include <algorithm>

namespace {

bool IsHandle(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

} // namespace

CParentConsole::CParentConsole() {
    m_outBuffer.SetHandle(Usable(STD_OUTPUT_HANDLE));
    m_errBuffer.SetHandle(Usable(STD_ERROR_HANDLE));
}

CParentConsole::~CParentConsole() {
    m_out.flush();
    m_err.flush();
    if (IsHandle(m_console))
        CloseHandle(m_console);
    if (m_bAttached)
        FreeConsole();
}

HANDLE CParentConsole::Usable(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    if (IsHandle(handle))
        return handle; // redirected by the parent, or a console already there
    if (!m_bAttached) {
        m_bAttached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
        // The texts are UTF-8; the console shows them so.
        if (m_bAttached)
            SetConsoleOutputCP(CP_UTF8);
    }
    if (!m_bAttached)
        return INVALID_HANDLE_VALUE; // started from Explorer: nowhere to write
    handle = GetStdHandle(which);
    if (IsHandle(handle))
        return handle;
    if (!IsHandle(m_console))
        m_console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    return m_console;
}

bool CParentConsole::CHandleBuffer::Write(const char* text, size_t count) {
    if (!IsHandle(m_handle))
        return true; // no console: the exit status still tells the outcome
    while (count > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count, 64 * 1024));
        if (!WriteFile(m_handle, text, chunk, &written, nullptr) || written == 0)
            return false;
        text += written;
        count -= written;
    }
    return true;
}

CParentConsole::CHandleBuffer::int_type CParentConsole::CHandleBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    const bool ok = ch == '\n' ? Write("\r\n", 2) : Write(&ch, 1);
    return ok ? c : traits_type::eof();
}

std::streamsize CParentConsole::CHandleBuffer::xsputn(const char* text, std::streamsize count) {
    std::streamsize done = 0;
    while (done < count) {
        const char* start = text + done;
        const char* end = text + count;
        const char* newline = std::find(start, end, '\n');
        if (!Write(start, static_cast<size_t>(newline - start)))
            return done;
        done += newline - start;
        if (newline == end)
            break;
        if (!Write("\r\n", 2))
            return done;
        ++done;
    }
    return done;
}
