#pragma once

#include "app/ToolBarDock.h"

#include <functional>
#include <windows.h>

// After windows.h, which it needs.
#include <commctrl.h>

// The main window's toolbar and the places it sits: docked, in a strip along
// a side of the frame; or floating, in a small tool window of its own. Both
// have a gripper to drag the bar by; letting it go asks the core which side
// the point means (app/ToolBarDock.h), or floats the bar there. Moving the
// floating window near an edge of the frame by its caption, or
// double-clicking the caption, docks it again. The
// buttons' notifications (commands, tool tips, hot items) go to the frame
// wherever the bar sits.
class CToolBarDock {
public:
    CToolBarDock(HINSTANCE instance, HWND frame);
    ~CToolBarDock();
    CToolBarDock(const CToolBarDock&) = delete;
    CToolBarDock& operator=(const CToolBarDock&) = delete;

    // Makes the bar with the program's buttons and images, docked at the top.
    bool Create();
    HWND ToolBar() const { return m_toolBar; }
    DockSide Side() const { return m_side; }
    // The docked strip's size across its side; 0 when floating or hidden.
    int Thickness() const;
    // Puts the docked strip where the frame's layout says.
    void Place(const ScreenRect& bar);
    bool IsShown() const { return m_bShown; }
    void Show(bool shown);
    // Docks on a side or floats with the floating window's top left at `at`
    // (screen coordinates).
    void DockOn(DockSide side);
    void Float(POINT at);

    // Called after the bar moved, was shown or hidden: the frame lays out.
    std::function<void()> moved;

private:
    // The window procedure of both window classes: the dock is their creation
    // parameter, and Handler answers their messages.
    template <LRESULT (CToolBarDock::*Handler)(HWND, UINT, WPARAM, LPARAM)>
    static LRESULT CALLBACK Forward(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnStrip(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnFloat(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool RegisterClasses();
    void CreateButtons();
    void SetVertical(bool vertical);
    SIZE ButtonsExtent() const;
    RECT GripperRect(HWND host) const;
    void PaintGripper(HWND host) const;
    bool OnGripperMouse(HWND host, UINT message, LPARAM lParam);
    void OnGripperDrop(POINT at);
    DockSide SideForScreenPoint(POINT at) const;
    void ShowHosts();

    HINSTANCE m_instance;
    HWND m_frame;
    HWND m_strip = nullptr;
    HWND m_float = nullptr;
    HWND m_toolBar = nullptr;
    HIMAGELIST m_images = nullptr;
    HIMAGELIST m_disabledImages = nullptr;
    DockSide m_side = DockSide::Top;
    DockSide m_lastDocked = DockSide::Top;
    bool m_bShown = true;
    bool m_bDragging = false;
    bool m_bMoved = false;
    POINT m_dragStart{};
};
