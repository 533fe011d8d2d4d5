#pragma once

#include "package/BuildLogSink.h"

#include <string>
#include <vector>
#include <windows.h>

// The build log: a list of one column as wide as the pane, one line per row,
// the newest line kept in view. Append may be called from a worker: the line
// is handed to the window's thread and the worker waits until it is there,
// so lines keep their order. The list is virtual (it asks for the text of
// the rows it paints), so adding a line lays out none of the lines before
// it, and the pane is repainted at most once per frame interval however fast
// lines arrive.
class CBuildLogPane : public IBuildLogSink {
public:
    static constexpr UINT kFrameMilliseconds = 40;

    CBuildLogPane() = default;
    CBuildLogPane(const CBuildLogPane&) = delete;
    CBuildLogPane& operator=(const CBuildLogPane&) = delete;

    bool Create(HWND parent, int id);
    HWND Handle() const { return m_hwnd; }

    // Any thread.
    void Append(const std::string& line) override;
    // The window's thread only.
    void Clear() override;
    size_t Count() const { return m_lines.size(); }
    const std::wstring& Line(size_t index) const { return m_lines[index]; }

    // The parent hands on the list's notifications; true when handled.
    bool OnNotify(const NMHDR& header, LRESULT& result);

private:
    static LRESULT CALLBACK Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void AppendHere(const std::string& line);
    void HoldRepaint();
    void ReleaseRepaint();
    void ShowContextMenu(LPARAM at);

    HWND m_hwnd = nullptr;
    DWORD m_thread = 0;
    std::vector<std::wstring> m_lines;
    bool m_bHeld = false;
};
