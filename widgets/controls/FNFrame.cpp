#include "widgets/controls/FNFrame.h"

#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"
#include "widgets/looks/FNLooks.h"

FNFrame::FNFrame(int y, int w, int h)
    : FNWidget(kX, y, w, h)
    , m_face(std::make_unique<FNImage>(1, 1))
{
    FN_SET_CLASS_NAME(FNFrame);
    m_look.Set(FNLookInfo(), &FNFrameLook);
}

FNFrame::~FNFrame()
{
    if (item)
        item->SetPicture(nullptr);
}

void FNFrame::Repaint()
{
    m_look.Draw(m_face.get(), Width(), Height());
    SetPicture(m_face.get());
    Redraw();
}

void FNFrame::OnResized(int, int)
{
    Repaint();
}
