#include "widgets/menu/FNMenuFace.h"

#include "framework/scene/FN2DItem.h"
#include "imaging/FNImage.h"

FNMenuFace::FNMenuFace(int x, int y, int w, int h, FNLookFunc look)
    : FNWidget(x, y, w, h)
    , m_face(std::make_unique<FNImage>(1, 1))
{
    FN_SET_CLASS_NAME(FNMenuFace);
    m_look.Set(FNLookInfo(), std::move(look));
}

FNMenuFace::~FNMenuFace()
{
    if (item)
        item->SetPicture(nullptr);
}

void FNMenuFace::OnItemCreated()
{
    // A separator is transparent but for its line: the whole row is still
    // part of the panel a press may land on.
    item->solidHit = true;
}

void FNMenuFace::Repaint()
{
    m_look.Draw(m_face.get(), Width(), Height());
    SetPicture(m_face.get());
    Redraw();
}

void FNMenuFace::OnResized(int, int)
{
    Repaint();
}
