// The credit view: what it shows, and the two ways a user ends it.

#include "framework/window/FNAppIdentity.h"
#include "framework/window/FNExWindow.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/modal/FNCreditView.h"

#include <functional>

namespace {

class ScriptedCredits : public FNCreditView {
public:
    explicit ScriptedCredits(std::function<void(ScriptedCredits&)> act)
        : m_act(std::move(act))
    {
    }
    void OnFrame() override
    {
        if (++frames == 3)
            m_act(*this);
        if (frames > 200)
            EndModal();
    }
    int frames = 0;

private:
    std::function<void(ScriptedCredits&)> m_act;
};

TEST_F(WidgetTest, TheCreditViewShowsTheIdentityAndTheLinkedLibraries)
{
    FNSetAppName("Tesserine");
    FNSetAppVersion("ver.1.0.1");
    FNAddCreditLine("一行目");
    std::vector<FNString> shown;
    ScriptedCredits credits([&](ScriptedCredits& view) {
        shown = view.Lines();
        EXPECT_EQ(view.Window()->width, 500);
        EXPECT_EQ(view.Window()->height, 400);
        V::RequestClose(view.Window()->Frame()->window); // the close control ends it
    });
    credits.DoModal(stage.get());
    EXPECT_LT(credits.frames, 200);
    ASSERT_GE(shown.size(), 8u);
    EXPECT_EQ(shown[0], "Tesserine");
    EXPECT_EQ(shown[1], "version : ver.1.0.1");
    EXPECT_EQ(shown[3], "クレジット");
    EXPECT_EQ(shown[4], "本プログラムでは,以下の著作物を利用しています.");
    EXPECT_EQ(shown[5], "一行目");
    // The libraries: the framework first, then what it links.
    const auto library = [&](const char* start) {
        return std::any_of(shown.begin(), shown.end(), [&](const FNString& l) { return l.str().rfind(start, 0) == 0; });
    };
    for (const char* name :
        { "Fern Library", "Boost ", "libpng ", "zlib ", "libjpeg-turbo ", "FreeType ", "fontconfig " })
        EXPECT_TRUE(library(name)) << name;
    EXPECT_FALSE(library("lib-png 1.2.35")) << "no library this build does not use";
    EXPECT_TRUE(stage->enabled);
}

TEST_F(WidgetTest, TheCreditViewsOkButtonEndsIt)
{
    ScriptedCredits credits([](ScriptedCredits& view) {
        const FNRect client = view.Window()->ClientRect();
        V::SetPointer(client.left + 390 + 50, client.top + 370 + 10);
        V::SetButtons(FNButtonLeft), V::SetButtons(0);
    });
    credits.DoModal(nullptr);
    EXPECT_LT(credits.frames, 200) << "OK ended the view";
    EXPECT_EQ(FNEngine::Current(), engine.get());
}

} // namespace
