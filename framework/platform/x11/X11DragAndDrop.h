#pragma once

// The receiving side of XDND for one display connection: follows a drag
// over our windows, accepts copies of text/uri-list offers, fetches the list
// when it is dropped and answers the source at every step. Private to the
// X11 backend: only its .cpp files include this header. Engine thread only.
//
//   source                          here
//   XdndEnter    (types)            remembers whether a file list is offered
//   XdndPosition (root x, y)        XdndStatus: accepted when it is
//   XdndLeave                       forgets the drag
//   XdndDrop                        asks for the selection as text/uri-list
//                                   (XdndFinished at once when none)
//   SelectionNotify                 reads the list, XdndFinished

#include "framework/platform/x11/X11Atoms.h"

#include <X11/Xlib.h>

#include <string>
#include <vector>

class X11DragAndDrop {
public:
    // Files dropped on window, the top-level window the drag entered; the
    // last pointer position of the drag in screen coordinates.
    struct Drop {
        Window window = 0;
        int rootX = 0, rootY = 0;
        std::vector<std::string> paths;
    };

    // hostName: this machine's name, for file URIs that carry one.
    void Attach(Display* display, const X11Atoms& atoms, const std::string& hostName);
    // Handles an XDND message sent to one of our windows; false when the
    // message is not part of XDND.
    bool HandleClientMessage(const XClientMessageEvent& event);
    // Handles the converted selection a drop asked for and ends the drag;
    // true when local files were dropped, with drop filled in.
    bool HandleSelection(const XSelectionEvent& event, Drop& drop);

private:
    struct DragState {
        Window source = 0;
        Window target = 0;
        bool offersUriList = false;
        int rootX = 0, rootY = 0;
    };

    void OnEnter(const XClientMessageEvent& event);
    bool SourceListsUriList(Window source);
    void OnPosition(const XClientMessageEvent& event);
    void OnDrop(const XClientMessageEvent& event);
    bool FromCurrentSource(const XClientMessageEvent& event) const;
    std::vector<std::string> ReadPaths(const XSelectionEvent& event);
    void Send(Atom type, long l1, long l2, long l3, long l4);

    Display* m_display = nullptr;
    X11Atoms m_atoms {};
    std::string m_hostName;
    DragState m_drag;
};
