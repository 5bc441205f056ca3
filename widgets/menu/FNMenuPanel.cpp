#include "widgets/menu/FNMenuPanel.h"

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "imaging/FNImage.h"
#include "widgets/looks/FNLooks.h"
#include "widgets/menu/FNMenuFace.h"
#include "widgets/menu/FNMenuGeometry.h"
#include "widgets/menu/FNMenuLooks.h"
#include "widgets/theme/FNTheme.h"

FNMenuPanel::FNMenuPanel(const FNWindowMenuColumn& column, FNStringStyle* style, FNStringStyle* disabledStyle)
    : m_column(column)
    , m_scene(std::make_unique<FN2DScene>())
    , m_group(std::make_unique<FNSelectorGroup>())
{
    std::vector<int> widths;
    for (const FNString& text : m_column.items) {
        if (!FNWindowMenuColumn::IsSeparator(text))
            widths.push_back(FNMenuTextWidth(style, text));
    }
    m_rowWidth = FNMenuPanelRowWidth(widths);
    const int width = FNMenuPanelWidth(m_rowWidth);
    const int height = FNMenuPanelHeight(static_cast<int>(m_column.items.size()));
    const FNRGB bg = FNThemeRGB(FNThemeKey::Background);
    m_scene->SetBackground(bg.red, bg.green, bg.blue, 255);
    m_stage = std::make_unique<FN2DStage>(0, 0, width, height, m_column.title);
    m_stage->SetScene(m_scene.get());
    Build(style, disabledStyle);
}

FNMenuPanel::~FNMenuPanel()
{
    m_connectors.clear();
    Close();
    m_rows.clear();
    m_list.reset();
    m_body.reset();
    m_stage.reset();
}

void FNMenuPanel::Build(FNStringStyle* style, FNStringStyle* disabledStyle)
{
    m_body = std::make_unique<FNMenuFace>(0, 0, m_stage->width, m_stage->height, &FNDropDownListLook);
    m_body->PlaceIn(m_scene.get());
    m_list
        = std::make_unique<FNWidget>(0, FNMenuPanelBorderY, m_stage->width, m_stage->height - 2 * FNMenuPanelBorderY);
    m_list->passToParent = true;
    m_body->AddChild(m_list.get());
    for (size_t row = 0; row < m_column.items.size(); ++row) {
        FNWidget* widget = MakeRow(row, style, disabledStyle);
        widget->passToParent = true;
        m_list->AddChild(widget);
        if (!m_selectors[row])
            PlaceLabelText(widget->Item());
        auto connector = std::make_unique<FNEventConnector>(widget->Item());
        connector->Connect(FNEvent::MouseEnter, &FNMenuPanel::OnRowEnter, this);
        connector->Connect(FNEvent::LeftUp, &FNMenuPanel::OnRowRelease, this);
        m_connectors.push_back(std::move(connector));
    }
}

FNWidget* FNMenuPanel::MakeRow(size_t row, FNStringStyle* style, FNStringStyle* disabledStyle)
{
    const FNString& text = m_column.items[row];
    const int y = static_cast<int>(row) * FNMenuRowHeight;
    FNSelector* selector = nullptr;
    if (FNWindowMenuColumn::IsSeparator(text)) {
        m_rows.push_back(
            std::make_unique<FNMenuFace>(FNMenuRowX, y, m_rowWidth, FNMenuRowHeight, &FNMenuSeparatorLook));
    } else if (!m_column.IsItemEnabled(text)) {
        // A disabled item shows its text, lighter, and nothing behind it.
        auto label = std::make_unique<FNTransParentLabel>(FNMenuRowX, y, m_rowWidth, FNMenuRowHeight, text);
        label->SetStringStyle(disabledStyle);
        m_rows.push_back(std::move(label));
    } else {
        selector = new FNSelector(FNMenuRowX, y, m_rowWidth, FNMenuRowHeight, text, m_group.get());
        selector->SetStringStyle(style);
        selector->SetTextOffset(FNMenuRowTextX, -1);
        m_rows.emplace_back(selector);
    }
    m_selectors.push_back(selector);
    return m_rows.back().get();
}

// Text of a row without a selector: where a selector would put it.
void FNMenuPanel::PlaceLabelText(FN2DItem* row)
{
    row->textImageX = FNMenuRowTextX;
    row->textImageY = (FNMenuRowHeight - (row->textImage ? row->textImage->height : 0)) / 2;
    row->Invalidate(true);
}

FN2DItem* FNMenuPanel::BodyItem() const
{
    return m_body->Item();
}

// ---- Opening and the current row -------------------------------------------------

void FNMenuPanel::Open(int screenX, int screenY, FNStageBase* owner)
{
    SetCurrentRow(-1);
    if (IsOpen() || !owner)
        return;
    m_stage->MoveTo(screenX, screenY);
    m_stage->Open(true, owner, owner->engine);
}

void FNMenuPanel::Close()
{
    SetCurrentRow(-1);
    if (IsOpen())
        m_stage->Close();
}

bool FNMenuPanel::IsOpen() const
{
    return m_stage->windowCreated;
}

void FNMenuPanel::SetCurrentRow(int row)
{
    const bool choosable = row >= 0 && row < RowCount() && m_selectors[row];
    m_current = choosable ? row : -1;
    m_group->Select(choosable ? m_selectors[row] : nullptr);
}

void FNMenuPanel::StepCurrentRow(int step)
{
    SetCurrentRow(FNMenuNextChoosableRow(m_column, m_current, step));
}

// ---- Pointer ----------------------------------------------------------------------

int FNMenuPanel::RowOf(const FN2DItemBase* item) const
{
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row]->Item() == item)
            return static_cast<int>(row);
    }
    return -1;
}

void FNMenuPanel::OnRowEnter(FNEventState event)
{
    const int row = RowOf(event.item);
    if (row >= 0 && m_selectors[row])
        SetCurrentRow(row);
}

void FNMenuPanel::OnRowRelease(FNEventState event)
{
    const int row = RowOf(event.item);
    const bool inside
        = event.localX >= 0 && event.localX < m_rowWidth && event.localY >= 0 && event.localY < FNMenuRowHeight;
    if (row >= 0 && m_selectors[row] && inside && onChoose)
        onChoose(row);
}
