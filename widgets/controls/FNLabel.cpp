#include "widgets/controls/FNLabel.h"

#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"
#include "widgets/looks/FNLooks.h"

FNTransParentLabel::FNTransParentLabel(int x, int y, int w, int h, const FNString& newText)
    : FNWidget(x, y, w, h)
{
    FN_SET_CLASS_NAME(FNTransParentLabel);
    text = newText;
}

FNLabel::FNLabel(int x, int y, int w, int h, const FNString& newText)
    : FNTransParentLabel(x, y, w, h, newText)
    , m_face(std::make_unique<FNImage>(1, 1))
{
    FN_SET_CLASS_NAME(FNLabel);
    m_look.Set(FNLookInfo(), &FNLabelLook);
}

FNLabel::~FNLabel()
{
    // The item must not show the face after it is gone.
    if (item)
        item->SetPicture(nullptr);
}

void FNLabel::Repaint()
{
    m_look.Draw(m_face.get(), Width(), Height());
    SetPicture(m_face.get());
    Redraw();
}

void FNLabel::OnResized(int, int)
{
    Repaint();
}
