#include "widgets/modal/FNCreditView.h"

#include "framework/core/FNFrameworkLibraries.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/window/FNAppIdentity.h"
#include "framework/window/FNExWindow.h"
#include "imaging/FNImage.h"
#include "imaging/FNLibraryVersions.h"
#include "imaging/text/FNStringStyle.h"
#include "widgets/controls/FNLabel.h"
#include "widgets/controls/FNListView.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/theme/FNTheme.h"

#include <algorithm>

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 400;

void useThemeText(FNStringStyle& style, int size)
{
    const FNRGB text = FNThemeRGB(FNThemeKey::Text);
    style.setColor(text.red, text.green, text.blue);
    style.setSize(size);
}

} // namespace

FNCreditView& FNCreditView::Instance()
{
    static FNCreditView view;
    return view;
}

void FNCreditView::Install()
{
    FNExWindow::SetCreditViewHook([](FNExWindow* window) { Instance().DoModal(window->Frame()); });
}

FNCreditView::FNCreditView()
{
    FN_SET_CLASS_NAME(FNCreditView);
}

FNCreditView::~FNCreditView()
{
    if (open)
        OnClose();
    open = false;
}

// A light pattern behind the text: two soft diagonal bands across the top
// right corner, in the highlight set's dark tone and the "on" set's.
void FNCreditView::Decorate(int width, int height)
{
    m_decoration = std::make_unique<FNImage>(width, height);
    m_decoration->fill(255, 255, 255, 0);
    const FNRGB bands[2] = { FNThemeRGB(FNThemeKey::Main0), FNThemeRGB(FNThemeKey::Accent0) };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int diagonal = (width - x) + y; // distance from the top-right corner along the diagonal
            const int band = diagonal < 90 ? 0 : diagonal < 140 ? 1 : -1;
            if (band < 0)
                continue;
            const int alpha = band == 0 ? 40 : 28;
            m_decoration->setColor(x, y, bands[band].red, bands[band].green, bands[band].blue, alpha);
        }
    }
}

void FNCreditView::OnOpen()
{
    FNPlatformRect area { 0, 0, 1280, 1024 };
    if (FNEngine* current = FNEngine::Current(); current && current->Platform())
        area = current->Platform()->WorkArea();
    const int left = (area.right - area.left) / 2 - 250, top = (area.bottom - area.top) / 2 - 200;
    m_window = std::make_unique<FNExWindow>(left, top, kWidth, kHeight, "クレジット情報");
    m_window->allowMaximise = false;
    m_window->resizable = false;
    m_window->RootScene()->SetBackground(255, 255, 255, 255);
    Decorate(kWidth, kHeight);
    m_decorationItem = std::make_unique<FN2DItem>(kWidth, kHeight, 0, 0, 0);
    m_decorationItem->SetPicture(m_decoration.get());
    m_window->RootItem()->AddChild(m_decorationItem.get());

    m_titleStyle = std::make_unique<FNStringStyle>();
    useThemeText(*m_titleStyle, 24);
    m_textStyle = std::make_unique<FNStringStyle>();
    useThemeText(*m_textStyle, 14);
    m_smallStyle = std::make_unique<FNStringStyle>();
    useThemeText(*m_smallStyle, 12);
    struct LabelRow {
        int y, height;
        FNString text;
        FNStringStyle* style;
    };
    const LabelRow rows[] = {
        { 20, 35, FNAppName(), m_titleStyle.get() },
        { 55, 20, FNString("version : ") + FNAppVersion(), m_textStyle.get() },
        { 85, 40, FNAppNotice(), m_smallStyle.get() },
        { 128, 16, "クレジット", m_smallStyle.get() },
        { 253, 16, "本プログラムでは,以下の著作物を利用しています.", m_smallStyle.get() },
    };
    for (const LabelRow& row : rows) {
        m_labels.push_back(std::make_unique<FNLabel>(10, row.y, 480, row.height, row.text));
        m_labels.back()->SetStringStyle(row.style);
        m_labels.back()->PlaceIn(m_window->RootItem());
    }

    // The lists only show: no placeholder row to add lines to.
    m_credits = std::make_unique<FNListView>(144, 102);
    m_credits->SetPlaceholderShown(false);
    m_credits->SetRows(FNAppCreditLines());
    m_credits->PlaceIn(m_window->RootItem());
    std::vector<FNString> libraries = FNFrameworkLibraryLines();
    for (const FNString& line : FNImagingLibraryLines())
        libraries.push_back(line);
    for (const FNString& line : FNAppLibraryLines())
        libraries.push_back(line);
    m_libraries = std::make_unique<FNListView>(269, 94);
    m_libraries->SetPlaceholderShown(false);
    m_libraries->SetRows(libraries);
    m_libraries->PlaceIn(m_window->RootItem());

    m_ok = std::make_unique<FNPushButton>(390, 370, 100, 20, "OK");
    m_ok->PlaceIn(m_window->RootItem());
    m_ok->Item()->alpha = 220;

    m_connectors.push_back(std::make_unique<FNEventConnector>(static_cast<FNStageBase*>(m_window.get())));
    m_connectors.back()->Connect(FNEvent::CloseRequest, &FNCreditView::OnEnd, this);
    m_connectors.push_back(std::make_unique<FNEventConnector>(static_cast<FNWidget*>(m_ok.get())));
    m_connectors.back()->Connect(FNEvent::LeftDown, &FNCreditView::OnEnd, this);
    m_window->Open(true, nullptr, engine);
    m_window->Activate();
}

void FNCreditView::OnClose()
{
    m_connectors.clear();
    m_ok.reset();
    m_labels.clear();
    m_credits.reset();
    m_libraries.reset();
    if (m_window && m_decorationItem)
        m_window->RootItem()->RemoveChild(m_decorationItem.get());
    m_decoration.reset();
    m_decorationItem.reset();
    m_titleStyle.reset();
    m_textStyle.reset();
    m_smallStyle.reset();
    m_window.reset();
}

void FNCreditView::OnEnd(FNEventState)
{
    EndModal();
}

std::vector<FNString> FNCreditView::Lines() const
{
    std::vector<FNString> lines;
    for (const auto& label : m_labels)
        lines.push_back(label->GetText());
    for (const FNListView* list : { m_credits.get(), m_libraries.get() }) {
        for (int i = 0; list && i < list->RowCount(); ++i)
            lines.push_back(list->Row(i));
    }
    return lines;
}
