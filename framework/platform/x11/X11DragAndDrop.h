#pragma once

// The receiving side of XDND for one display connection: follows a drag over
// our windows, accepts copies of text/uri-list offers, fetches the list when
// it is dropped and answers the source at every step. Private to the X11
// backend: only its .cpp files and tests include this header. Engine thread
// only.
//
//   source                          here
//   XdndEnter    (types)            remembers whether a file list is offered
//   XdndPosition (root x, y)        XdndStatus: accepted when it is
//   XdndLeave                       forgets the drag
//   XdndDrop                        asks for the selection as text/uri-list
//                                   (XdndFinished at once when none)
//   SelectionNotify                 reads the list, XdndFinished

#include "framework/platform/x11/X11Atoms.h"
#include "framework/platform/x11/X11Handles.h"

#include <string>
#include <vector>

class X11DragAndDrop {
public:
    // Files dropped on window, the top-level window the drag entered; the
    // last pointer position of the drag in screen coordinates.
    struct Drop {
        X11Window window = 0;
        int rootX = 0, rootY = 0;
        std::vector<std::string> paths;
    };

    // hostName: this machine's name, for file URIs that carry one.
    void Attach(_XDisplay* display, const X11Atoms& atoms, const std::string& hostName);
    // Handles a ClientMessage event sent to one of our windows; false when
    // the message is not part of XDND.
    bool HandleClientMessage(const _XEvent& event);
    // Handles the SelectionNotify event of the converted selection a drop
    // asked for and ends the drag; true when local files were dropped, with
    // drop filled in.
    bool HandleSelection(const _XEvent& event, Drop& drop);

private:
    // The five 32-bit values of an XDND message (a client message's data.l).
    using MessageData = long[5];

    struct DragState {
        X11Window source = 0;
        X11Window target = 0;
        bool offersUriList = false;
        int rootX = 0, rootY = 0;
    };

    void OnEnter(X11Window target, const MessageData& data);
    bool SourceListsUriList(X11Window source);
    void OnPosition(const MessageData& data);
    void OnDrop(const MessageData& data);
    bool FromCurrentSource(const MessageData& data) const;
    std::vector<std::string> ReadPaths(X11Window requestor, X11Atom property);
    void Send(X11Atom type, long l1, long l2, long l3, long l4);

    _XDisplay* m_display = nullptr;
    X11Atoms m_atoms {};
    std::string m_hostName;
    DragState m_drag;
};
