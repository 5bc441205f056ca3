#include "app/dialogs/q_NewCanvasDialog.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "widgets/controls/FNLabel.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/controls/FNTextBox.h"
#include "widgets/modal/FNMessageBox.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kMaxLetters = 4;

// The C library's decimal reading: white space skipped, an optional sign,
// the leading digits; nothing readable gives 0.
int decimalOf(const FNString& text)
{
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

template <typename W, typename... Args> std::unique_ptr<W> addTo(FNExWindow& window, Args&&... args)
{
    auto widget = std::make_unique<W>(std::forward<Args>(args)...);
    widget->PlaceIn(window.RootItem());
    return widget;
}

} // namespace

bool q_NewCanvasDialog::Run(FNStageBase* owner, int& width, int& height)
{
    q_NewCanvasDialog dialog;
    dialog.DoModal(owner);
    width = dialog.accepted ? dialog.width : 0;
    height = dialog.accepted ? dialog.height : 0;
    return dialog.accepted;
}

q_NewCanvasDialog::q_NewCanvasDialog()
{
    FN_SET_CLASS_NAME(q_NewCanvasDialog);
}

q_NewCanvasDialog::~q_NewCanvasDialog()
{
    if (open)
        OnClose();
}

bool q_NewCanvasDialog::IsValidSide(int side)
{
    // As unsigned, a value below the minimum wraps far above the range.
    return static_cast<uint32_t>(side - kMinimumSide) <= static_cast<uint32_t>(kMaximumSide - kMinimumSide);
}

void q_NewCanvasDialog::OnOpen()
{
    m_window = std::make_unique<FNExWindow>(200, 200, 240, 100, "新しいキャンバスを作成");
    m_window->resizable = false;
    m_window->allowMinimise = false;
    m_window->allowMaximise = false;
    FNEngine* current = FNEngine::Current();
    if (current && !current->IsStopping())
        m_window->Open(true, nullptr, current);
    m_windowConnector = std::make_unique<FNEventConnector>(static_cast<FNStageBase*>(m_window.get()));
    m_windowConnector->Connect(FNEvent::CloseRequest, &q_NewCanvasDialog::OnCancel, this);

    FNExWindow& window = *m_window;
    m_widthCaption = addTo<FNLabel>(window, 10, 12, 50, 16, "横幅:");
    m_heightCaption = addTo<FNLabel>(window, 10, 42, 50, 16, "高さ:");
    m_widthBox = addTo<FNTextBox>(window, 60, 10, 60, 20, "400");
    m_widthBox->SetMaxLength(kMaxLetters);
    m_widthBox->Redraw();
    m_heightBox = addTo<FNTextBox>(window, 60, 40, 60, 20, "500");
    m_heightBox->SetMaxLength(kMaxLetters);
    m_widthHint = addTo<FNLabel>(window, 130, 12, 100, 16, "(50～1200pixel)");
    m_heightHint = addTo<FNLabel>(window, 130, 42, 100, 16, "(50～1200pixel)");
    m_ok = addTo<FNPushButton>(window, 65, 70, 80, 20, "OK");
    m_okConnector = std::make_unique<FNEventConnector>(static_cast<FNWidget*>(m_ok.get()));
    m_okConnector->Connect(FNEvent::LeftUp, &q_NewCanvasDialog::OnOk, this);
    m_cancel = addTo<FNPushButton>(window, 150, 70, 80, 20, "キャンセル");
    m_cancelConnector = std::make_unique<FNEventConnector>(static_cast<FNWidget*>(m_cancel.get()));
    m_cancelConnector->Connect(FNEvent::LeftUp, &q_NewCanvasDialog::OnCancel, this);
}

void q_NewCanvasDialog::OnClose()
{
    m_cancelConnector.reset();
    m_okConnector.reset();
    m_cancel.reset();
    m_ok.reset();
    m_heightHint.reset();
    m_widthHint.reset();
    m_heightBox.reset();
    m_widthBox.reset();
    m_heightCaption.reset();
    m_widthCaption.reset();
    m_windowConnector.reset();
    m_window.reset();
}

void q_NewCanvasDialog::TellOutOfRange()
{
    FNMessageBox("サイズの値", "指定した画像サイズが範囲外です。\n範囲内に収まるように指定してください。");
}

void q_NewCanvasDialog::OnOk(FNEventState event)
{
    if (event.widget && !event.widget->ContainsLocal(event.localX, event.localY))
        return;
    const int newWidth = decimalOf(m_widthBox->GetText());
    const int newHeight = decimalOf(m_heightBox->GetText());
    if (!IsValidSide(newWidth) || !IsValidSide(newHeight)) {
        TellOutOfRange();
        return;
    }
    width = newWidth;
    height = newHeight;
    accepted = true;
    EndModal();
}

void q_NewCanvasDialog::OnCancel(FNEventState event)
{
    if (event.code == FNEvent::LeftUp && event.widget && !event.widget->ContainsLocal(event.localX, event.localY))
        return;
    accepted = false;
    EndModal();
}
