#include "framework/platform/x11/X11DragAndDrop.h"

#include "framework/platform/FNUriList.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <climits>

void X11DragAndDrop::Attach(Display* display, const X11Atoms& atoms, const std::string& hostName)
{
    m_display = display;
    m_atoms = atoms;
    m_hostName = hostName;
}

bool X11DragAndDrop::HandleClientMessage(const XEvent& event)
{
    const XClientMessageEvent& message = event.xclient;
    if (message.message_type == m_atoms.xdndEnter)
        OnEnter(message.window, message.data.l);
    else if (message.message_type == m_atoms.xdndPosition)
        OnPosition(message.data.l);
    else if (message.message_type == m_atoms.xdndLeave)
        m_drag = {};
    else if (message.message_type == m_atoms.xdndDrop)
        OnDrop(message.data.l);
    else
        return false;
    return true;
}

bool X11DragAndDrop::FromCurrentSource(const MessageData& data) const
{
    return m_drag.source == static_cast<Window>(data[0]);
}

void X11DragAndDrop::OnEnter(Window target, const MessageData& data)
{
    m_drag = {};
    m_drag.source = static_cast<Window>(data[0]);
    m_drag.target = target;
    // Up to three types in the message; bit 0 says there are more, in the
    // source's type list.
    if (data[1] & 1) {
        m_drag.offersUriList = SourceListsUriList(m_drag.source);
    } else {
        for (int i = 2; i < 5; ++i)
            m_drag.offersUriList |= static_cast<Atom>(data[i]) == m_atoms.uriList;
    }
}

bool X11DragAndDrop::SourceListsUriList(Window source)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(
            m_display, source, m_atoms.xdndTypeList, 0, 1024, False, XA_ATOM, &type, &format, &items, &after, &data)
            != Success
        || !data)
        return false;
    const Atom* types = reinterpret_cast<Atom*>(data);
    const bool found = std::find(types, types + items, m_atoms.uriList) != types + items;
    XFree(data);
    return found;
}

void X11DragAndDrop::OnPosition(const MessageData& data)
{
    if (!FromCurrentSource(data))
        return;
    m_drag.rootX = static_cast<int>((data[2] >> 16) & 0xFFFF);
    m_drag.rootY = static_cast<int>(data[2] & 0xFFFF);
    // Accept (bit 0) copies of file lists; an empty rectangle asks for
    // every position.
    Send(m_atoms.xdndStatus, m_drag.offersUriList ? 1 : 0, 0, 0,
        m_drag.offersUriList ? static_cast<long>(m_atoms.xdndActionCopy) : 0);
}

void X11DragAndDrop::OnDrop(const MessageData& data)
{
    if (!FromCurrentSource(data))
        return;
    if (m_drag.offersUriList)
        XConvertSelection(m_display, m_atoms.xdndSelection, m_atoms.uriList, m_atoms.xdndSelection, m_drag.target,
            static_cast<Time>(data[2]));
    else
        Send(m_atoms.xdndFinished, 0, 0, 0, 0);
}

bool X11DragAndDrop::HandleSelection(const XEvent& event, Drop& drop)
{
    const XSelectionEvent& selection = event.xselection;
    if (!m_drag.source || selection.requestor != m_drag.target || selection.selection != m_atoms.xdndSelection)
        return false;
    drop.paths = ReadPaths(selection.requestor, selection.property);
    drop.window = m_drag.target;
    drop.rootX = m_drag.rootX;
    drop.rootY = m_drag.rootY;
    const bool accepted = !drop.paths.empty();
    Send(m_atoms.xdndFinished, accepted ? 1 : 0, 0, accepted ? static_cast<long>(m_atoms.xdndActionCopy) : 0, 0);
    m_drag = {};
    return accepted;
}

// The list arrives in a property of the target window, deleted as it is read.
std::vector<std::string> X11DragAndDrop::ReadPaths(Window requestor, Atom property)
{
    std::vector<std::string> paths;
    if (property == None)
        return paths;
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_display, requestor, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type, &format,
            &items, &after, &data)
            != Success
        || !data)
        return paths;
    if (format == 8)
        paths = FNLocalPathsFromUriList(std::string(reinterpret_cast<char*>(data), items), m_hostName);
    XFree(data);
    return paths;
}

// Messages to the source name the window the drag is over.
void X11DragAndDrop::Send(Atom type, long l1, long l2, long l3, long l4)
{
    XEvent reply {};
    reply.xclient.type = ClientMessage;
    reply.xclient.window = m_drag.source;
    reply.xclient.message_type = type;
    reply.xclient.format = 32;
    reply.xclient.data.l[0] = static_cast<long>(m_drag.target);
    reply.xclient.data.l[1] = l1;
    reply.xclient.data.l[2] = l2;
    reply.xclient.data.l[3] = l3;
    reply.xclient.data.l[4] = l4;
    XSendEvent(m_display, m_drag.source, False, NoEventMask, &reply);
    XFlush(m_display);
}
