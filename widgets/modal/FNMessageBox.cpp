#include "widgets/modal/FNMessageBox.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextLayout.h"
#include "widgets/controls/FNLabel.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/modal/ModalPlacement.h"

#include <algorithm>

namespace {

constexpr int kMargin = 16;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 22;
constexpr int kButtonGap = 8;

} // namespace

bool FNMessageBox(const FNString& caption, const FNString& text)
{
    FNEngine* engine = FNEngine::Current();
    return FNMessageWindow(caption, text, false).Run(engine ? engine->MainStage() : nullptr);
}

bool FNConfirmBox(const FNString& caption, const FNString& text)
{
    FNEngine* engine = FNEngine::Current();
    return FNMessageWindow(caption, text, true).Run(engine ? engine->MainStage() : nullptr);
}

FNMessageWindow::FNMessageWindow(const FNString& caption, const FNString& text, bool withCancel)
    : m_caption(caption)
    , m_text(text)
    , m_withCancel(withCancel)
{
    FN_SET_CLASS_NAME(FNMessageWindow);
}

FNMessageWindow::~FNMessageWindow()
{
    if (open)
        OnClose();
}

bool FNMessageWindow::Run(FNStageBase* owner)
{
    m_owner = owner;
    m_accepted = false;
    DoModal(owner);
    return m_accepted;
}

void FNMessageWindow::OnOpen()
{
    const FNTextSize textSize = measureString(m_text, FNDefaultStringStyle().font.get());
    const int buttons = m_withCancel ? 2 * kButtonWidth + kButtonGap : kButtonWidth;
    const int width = std::max(textSize.width, buttons) + 2 * kMargin;
    const int height = textSize.height + kButtonHeight + 3 * kMargin;
    const FNRect where = modalPlacement(m_owner, width, height);
    m_window = std::make_unique<FNExWindow>(where.left, where.top, width, height, m_caption);
    m_window->allowMaximise = false;
    m_window->allowMinimise = false;
    m_window->resizable = false;

    m_label = std::make_unique<FNLabel>(kMargin, kMargin, width - 2 * kMargin, textSize.height, m_text);
    m_label->PlaceIn(m_window->RootItem());
    const int buttonY = height - kMargin - kButtonHeight;
    int buttonX = width - kMargin - buttons;
    m_ok = std::make_unique<FNPushButton>(buttonX, buttonY, kButtonWidth, kButtonHeight, "OK");
    m_ok->PlaceIn(m_window->RootItem());
    auto connect = [this](auto target, int code, void (FNMessageWindow::*handler)(FNEventState)) {
        m_connectors.push_back(std::make_unique<FNEventConnector>(target));
        m_connectors.back()->Connect(code, handler, this);
    };
    connect(static_cast<FNWidget*>(m_ok.get()), FNEvent::LeftUp, &FNMessageWindow::OnOk);
    if (m_withCancel) {
        buttonX += kButtonWidth + kButtonGap;
        m_cancel = std::make_unique<FNPushButton>(buttonX, buttonY, kButtonWidth, kButtonHeight, "キャンセル");
        m_cancel->PlaceIn(m_window->RootItem());
        connect(static_cast<FNWidget*>(m_cancel.get()), FNEvent::LeftUp, &FNMessageWindow::OnCancel);
    }
    connect(static_cast<FNStageBase*>(m_window.get()), FNEvent::CloseRequest, &FNMessageWindow::OnCancel);
    connect(static_cast<FNStageBase*>(m_window.get()), FNEvent::StageKeyDown, &FNMessageWindow::OnKey);
    m_window->Open(true, nullptr, engine);
    m_window->Activate();
}

void FNMessageWindow::OnClose()
{
    m_connectors.clear();
    m_cancel.reset();
    m_ok.reset();
    m_label.reset();
    m_window.reset();
}

void FNMessageWindow::Finish(bool accepted)
{
    m_accepted = accepted;
    EndModal();
}

void FNMessageWindow::OnOk(FNEventState event)
{
    // A release that ends outside the button does not press it.
    if (event.localX >= 0 && event.localX < kButtonWidth && event.localY >= 0 && event.localY < kButtonHeight)
        Finish(true);
}

void FNMessageWindow::OnCancel(FNEventState event)
{
    if (event.code == FNEvent::LeftUp
        && !(event.localX >= 0 && event.localX < kButtonWidth && event.localY >= 0 && event.localY < kButtonHeight))
        return;
    Finish(!m_withCancel);
}

void FNMessageWindow::OnKey(FNEventState event)
{
    if (event.key == FNKeyReturn)
        Finish(true);
    else if (event.key == FNKeyEscape)
        Finish(!m_withCancel);
}
