#pragma once

#include "widgets/modal/FNModal.h"

#include <memory>
#include <vector>

class FN2DItem;
class FNEventConnector;
class FNExWindow;
class FNImage;
class FNLabel;
class FNListView;
class FNPushButton;
class FNStringStyle;
struct FNEventState;

// FNCreditView: the modal window with the program's identity (name,
// version, rights notice, credit lines; framework/window/FNAppIdentity.h)
// and the libraries this build links. One process-wide instance. A right
// double click on the title bar of any framed window opens it over that
// window once Install() has been called; the "OK" button and the window's
// close control end it.
class FNCreditView : public FNModal {
public:
    static FNCreditView& Instance();
    // Makes every FNExWindow's title bar open the credit view.
    static void Install();

    FNCreditView();
    ~FNCreditView() override;

    void OnOpen() override;
    void OnClose() override;
    void OnEnd(FNEventState event);

    FNExWindow* Window() const { return m_window.get(); }
    // Every line shown, for checks: the labels, then both lists' rows.
    std::vector<FNString> Lines() const;

private:
    void Decorate(int width, int height);

    std::unique_ptr<FNExWindow> m_window;
    std::unique_ptr<FNImage> m_decoration;
    std::unique_ptr<FN2DItem> m_decorationItem;
    std::unique_ptr<FNStringStyle> m_titleStyle;
    std::unique_ptr<FNStringStyle> m_textStyle;
    std::unique_ptr<FNStringStyle> m_smallStyle;
    std::vector<std::unique_ptr<FNLabel>> m_labels;
    std::unique_ptr<FNListView> m_credits;
    std::unique_ptr<FNListView> m_libraries;
    std::unique_ptr<FNPushButton> m_ok;
    std::vector<std::unique_ptr<FNEventConnector>> m_connectors;
};
