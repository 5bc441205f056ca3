// The editor's entry: register the application's identity, build the
// application object, run the main loop until the framework stops, tear down.
#include "app/program/q_CommandLine.h"
#include "app/q_App.h"

#include "framework/engine/FNEngine.h"
#include "framework/window/FNAppIdentity.h"
#include "framework/window/FNExWindow.h"
#include "widgets/modal/FNCreditView.h"
#include "widgets/window/FNWindowFrameLooks.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char* kAppName = "Tesserine";
constexpr const char* kAppVersion = "ver.1.0.1";

void registerIdentity()
{
    FNSetAppName(kAppName);
    FNSetAppVersion(kAppVersion);
    FNSetAppNotice("Copyright (C) 2009-2026 Tesserine developers. All rights reserved.");
    const char* const creditLines[] = {
        "■情報科学部 画像工学研究室",
        "\u3000山田 太郎 (Taro Yamada)",
        "\u3000佐藤 花子 (Hanako Sato)",
        "\u3000鈴木 一郎 (Ichiro Suzuki)",
        " ",
        "■情報科学部 計算幾何研究室",
        "\u3000高橋 健 (Ken Takahashi)",
        "\u3000田中 美咲 (Misaki Tanaka)",
        "\u3000伊藤 翔 (Sho Ito)",
        "\u3000渡辺 彩 (Aya Watanabe)",
        "\u3000中村 大輔 (Daisuke Nakamura)",
        "\u3000小林 優 (Yu Kobayashi)",
        "\u3000加藤 陽菜 (Hina Kato)",
    };
    for (const char* line : creditLines)
        FNAddCreditLine(line);
}

} // namespace

int main(int argc, char** argv)
{
    q_CommandLine line = q_ParseCommandLine(argc, argv);
    switch (line.action) {
    case q_CommandLine::Help:
        std::fputs(q_UsageText().c_str(), stdout);
        return 0;
    case q_CommandLine::Version:
        std::printf("%s %s\n", kAppName, kAppVersion);
        return 0;
    case q_CommandLine::Refuse:
        std::fprintf(stderr, "tesserine: %s\n%s", line.problem.c_str(), q_UsageText().c_str());
        return 2;
    case q_CommandLine::Run:
        break;
    }
    // The framework's start-up enters the program's own folder: names given
    // relative to where the program was started are made whole first.
    for (std::string& file : line.files) {
        std::error_code failed;
        const std::filesystem::path whole = std::filesystem::absolute(file, failed);
        if (!failed)
            file = whole.string();
    }
    // The framework's engine and its window-system connection come first:
    // without a display there is nothing to show, and the reason is one line.
    std::string failure;
    if (!FNEngine::StartProcessEngine(failure)) {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            failure += " (DISPLAY is not set: run it inside an X session, or under Xvfb)";
        std::fprintf(stderr, "tesserine: cannot start: %s\n", failure.c_str());
        return 1;
    }
    registerIdentity();
    FNExWindow::SetDefaultLooks(FNWindowFrameLooks());
    FNCreditView::Install();

    q_App* app = new q_App();
    app->Initialise();
    // Files named on the command line: the canvas first, then the part; one
    // that cannot be read is reported and the editor goes on without it.
    if (!line.files.empty())
        app->OpenCanvasFile(line.files[0]);
    if (line.files.size() > 1)
        app->LoadPartFile(line.files[1]);
    while (FNEngine::Current() && FNEngineStep() && app->Frame()) { }
    delete app;
    return 0;
}
