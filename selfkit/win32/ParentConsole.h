#pragma once

#include <ostream>
#include <streambuf>
#include <windows.h>

// The standard output and error of a GUI-subsystem program run from a
// console or a batch file. Such a program starts without a console: handles
// the parent redirected (to a file or a pipe) are used as they are; for the
// others the program attaches to the parent's console, so that the messages
// appear where the command was typed. Lines end with "\r\n".
class CParentConsole {
public:
    CParentConsole();
    ~CParentConsole();
    CParentConsole(const CParentConsole&) = delete;
    CParentConsole& operator=(const CParentConsole&) = delete;

    std::ostream& Out() { return m_out; }
    std::ostream& Err() { return m_err; }

private:
    // Writes straight through to a handle; nothing is buffered, so the order
    // of the two streams survives when both go to the same place.
    class CHandleBuffer : public std::streambuf {
    public:
        void SetHandle(HANDLE handle) { m_handle = handle; }

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;

    private:
        bool Write(const char* text, size_t count);
        HANDLE m_handle = INVALID_HANDLE_VALUE;
    };

    // The handle for which (STD_OUTPUT_HANDLE or STD_ERROR_HANDLE).
    HANDLE Usable(DWORD which);

    bool m_bAttached = false;
    HANDLE m_console = INVALID_HANDLE_VALUE; // "CONOUT$" when it had to be opened
    CHandleBuffer m_outBuffer;
    CHandleBuffer m_errBuffer;
    std::ostream m_out{&m_outBuffer};
    std::ostream m_err{&m_errBuffer};
};
