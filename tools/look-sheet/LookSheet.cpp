// look-sheet: writes one PNG showing every widget look at a few sizes and in
// every state, a mock framed window, and text samples of the editor's
// Japanese user-interface texts.
//
//   look-sheet [output.png]      (default: look-sheet.png)
//
// -h or --help prints the usage. Any other argument that starts with "-" is
// refused as an unknown option rather than taken as a file name (write such
// a name as ./-name.png); so is a second file name. Usage errors exit with
// status 2 and write nothing.
#include "PngFile.h"

#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextImage.h"
#include "imaging/text/TextLayout.h"
#include "widgets/looks/FNLooks.h"
#include "widgets/theme/FNTheme.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

FNLookInfo stateInfo(int state, int value = 0)
{
    FNLookInfo info;
    info.state = state;
    info.value = value;
    return info;
}

class Sheet {
public:
    Sheet(int width, int height)
        : m_canvas(width, height)
    {
        const FNRGB bg = FNThemeRGB(FNThemeKey::Background);
        m_canvas.fill(bg.red, bg.green, bg.blue, 255);
        m_heading.setBold(true);
        m_heading.setSize(14);
        m_note.setColor(110, 117, 118);
    }

    FNImage& canvas() { return m_canvas; }

    // Paints a look into its own picture and pastes it at (x, y).
    void look(FNLookFunc func, int x, int y, int w, int h, FNLookInfo info = {})
    {
        FNImage picture;
        FNLook look;
        look.Set(info, std::move(func));
        look.Draw(&picture, w, h);
        m_canvas.drawImage(&picture, x, y, w, h);
    }

    // The text as a scene item shows it: its text picture pasted at (x, y).
    void text(const FNStringStyle* style, int x, int y, const FNString& text, bool enabled = true)
    {
        std::unique_ptr<FNImage> picture(FNMakeTextImage(style, text, enabled));
        if (picture)
            m_canvas.drawImage(picture.get(), x, y, picture->width, picture->height);
    }

    // Text centred in a box, optionally pushed by one pixel (a held button).
    void centred(int x, int y, int w, int h, const FNString& label, bool pushed = false, bool enabled = true)
    {
        const FNTextPosition at = centerString(nullptr, w, h, label);
        text(nullptr, x + at.x + (pushed ? 1 : 0), y + at.y + (pushed ? 1 : 0), label, enabled);
    }

    void heading(int x, int y, const FNString& title) { text(&m_heading, x, y, title); }
    void note(int x, int y, const FNString& title) { text(&m_note, x, y, title); }

    // A nearest-neighbour enlargement of a region, for checking pixels.
    void zoom(int sx, int sy, int w, int h, int factor, int dx, int dy)
    {
        for (int y = 0; y < h * factor; ++y) {
            for (int x = 0; x < w * factor; ++x) {
                int r, g, b;
                m_canvas.getColor(sx + x / factor, sy + y / factor, r, g, b);
                m_canvas.setColor(dx + x, dy + y, r, g, b, 255);
            }
        }
    }

private:
    FNImage m_canvas;
    FNStringStyle m_heading;
    FNStringStyle m_note;
};

// ---- Sections -------------------------------------------------------------

int buttons(Sheet& s, int y)
{
    s.heading(20, y, "ボタン (通常 / ホバー / 押下 / オン / 無効 / 無効オン)");
    y += 24;
    const int sizes[3][2] = { { 72, 22 }, { 110, 28 }, { 200, 40 } };
    const char* labels[3] = { "戻す", "キャンバス保存", "パーツ読み込み" };
    for (int i = 0; i < 3; ++i) {
        const int w = sizes[i][0], h = sizes[i][1];
        int x = 20;
        const FNLookFunc faces[4] = { FNFaceLook, FNHoverFaceLook, FNPressedFaceLook, FNOnFaceLook };
        for (int f = 0; f < 4; ++f, x += w + 12) {
            s.look(faces[f], x, y, w, h);
            s.centred(x, y, w, h, labels[i], f == 2);
        }
        for (FNLookFunc face : { FNLookFunc(FNFaceLook), FNLookFunc(FNOnFaceLook) }) {
            FNImage picture;
            face(&picture, w, h, {});
            FNDisabledOverlayLook(&picture, w, h, {});
            s.canvas().drawImage(&picture, x, y, w, h);
            s.centred(x, y, w, h, labels[i], false, false);
            x += w + 12;
        }
        y += h + 10;
    }
    return y + 10;
}

int panels(Sheet& s, int y)
{
    s.heading(20, y, "ラベル・フレーム・スライダー");
    y += 24;
    s.look(FNLabelLook, 20, y, 140, 20);
    s.text(nullptr, 24, y + 4, "ペンの太さ");
    s.look(FNFrameLook, 180, y, 220, 100);
    s.look(FNFrameLook, 420, y, 150, 60);
    s.note(190, y + 8, "フレーム 220 × 100");
    const int sliders[2][2] = { { 150, 20 }, { 220, 24 } };
    int sy = y;
    for (const auto& size : sliders) {
        s.look(FNSliderTrackLook, 600, sy, size[0], size[1]);
        s.look(FNFaceLook, 600 + size[0] / 3, sy, 12, size[1]);
        s.look(FNSliderTrackLook, 840, sy, size[0], size[1]);
        s.look(FNHoverFaceLook, 840 + size[0] - 40, sy, 12, size[1]);
        sy += size[1] + 12;
    }
    return y + 112;
}

void dropDownList(Sheet& s, int x, int y, int w, int h, const char* chosen)
{
    s.look(FNDropDownBoxLook, x, y, w, h);
    s.text(nullptr, x + 5, y + (h - 12) / 2, chosen);
    s.look(FNDropDownBoxHighlightLook, x + w + 12, y, w, h);
    s.text(nullptr, x + w + 17, y + (h - 12) / 2, chosen);
    // the open list below the highlighted box: two entries, W - 16 wide
    const int lx = x + w + 12, ly = y + h, lw = w - 16;
    s.look(FNDropDownListLook, lx, ly, lw, 2 * h + 2);
    s.look(FNSelectorLook, lx + 1, ly + 1, lw - 2, h);
    s.look(FNSelectorLook, lx + 1, ly + 1 + h, lw - 2, h, stateInfo(FNButtonHover));
    s.text(nullptr, lx + 5, ly + 1 + (h - 12) / 2, "通常合成");
    s.text(nullptr, lx + 5, ly + 1 + h + (h - 12) / 2, "Smart合成");
}

int dropDownsAndFields(Sheet& s, int y)
{
    s.heading(20, y, "ドロップダウン・テキストボックス・セレクター");
    y += 24;
    dropDownList(s, 20, y, 95, 20, "通常合成");
    dropDownList(s, 260, y, 140, 26, "Smart合成");
    // text boxes: normal and focused with the caret bar
    const FNRGB m0 = FNThemeRGB(FNThemeKey::Main0), m1 = FNThemeRGB(FNThemeKey::Main1);
    int x = 600;
    for (int w : { 60, 140 }) {
        s.look(FNTextBoxLook, x, y, w, 22);
        s.text(nullptr, x + 5, y + 5, "500");
        s.look(FNTextBoxFocusedLook, x, y + 32, w, 22);
        s.text(nullptr, x + 5, y + 37, "540");
        for (int cy = 0; cy < 14; ++cy)
            for (int cx = 0; cx < 3; ++cx)
                s.canvas().setColor(x + 26 + cx, y + 36 + cy, (m0.red + m1.red) / 2, (m0.green + m1.green) / 2,
                    (m0.blue + m1.blue) / 2, 255);
        x += w + 16;
    }
    // a menu bar with one open title, and its panel with a hovered item
    x = 840;
    const char* titles[3] = { "ファイル", "編集", "情報" };
    for (int i = 0; i < 3; ++i) {
        const int w = measureString(titles[i], nullptr).width + 12;
        if (i == 0)
            s.look(FNSelectorLook, x, y, w, 16);
        s.text(nullptr, x + 6, y + 2, titles[i]);
        x += w;
    }
    const char* items[3] = { "キャンバスの絵を読み込む (Ctrl+O)", "キャンバスの絵を保存する (Ctrl+S)",
        "新しいキャンバスを作成する (Ctrl+N)" };
    const int pw = measureString(items[2], nullptr).width + 10;
    s.look(FNDropDownListLook, 840, y + 18, pw + 4, 62);
    s.look(FNSelectorLook, 842, y + 39, pw, 20, stateInfo(FNButtonHover));
    for (int i = 0; i < 3; ++i)
        s.text(nullptr, 847, y + 22 + 20 * i, items[i]);
    return y + 100;
}

void scrollBar(Sheet& s, int x, int y, int length, int t, bool vertical, int state)
{
    const int arrowA = vertical ? FNScrollArrowUp : FNScrollArrowLeft;
    const int arrowB = vertical ? FNScrollArrowDown : FNScrollArrowRight;
    auto at = [&](int along, int& px, int& py) { px = vertical ? x : x + along, py = vertical ? y + along : y; };
    int px, py;
    at(t, px, py);
    s.look(FNScrollTrackLook, px, py, vertical ? t : length - 2 * t, vertical ? length - 2 * t : t);
    at(0, px, py);
    s.look(FNScrollButtonLook, px, py, t, t, stateInfo(state, arrowA));
    at(length - t, px, py);
    s.look(FNScrollButtonLook, px, py, t, t, stateInfo(state, arrowB));
    const int thumb = (length - 2 * t) / 3;
    at(t + thumb / 2, px, py);
    s.look(FNScrollButtonLook, px, py, vertical ? t : thumb, vertical ? thumb : t, stateInfo(state, FNScrollThumb));
}

int scrollBars(Sheet& s, int y)
{
    s.heading(20, y, "スクロールバー (通常 / ホバー / 押下)");
    y += 24;
    for (int state = 0; state < 3; ++state) {
        scrollBar(s, 20 + state * 30, y, 150, 16, true, state);
        scrollBar(s, 120 + state * 36, y, 150, 22, true, state);
        scrollBar(s, 240, y + state * 30, 260, 16, false, state);
        scrollBar(s, 540, y + state * 34, 300, 22, false, state);
    }
    return y + 160;
}

void titleButtons(Sheet& s, int x, int y, int w, int h, int state, bool maximised)
{
    s.look(FNMinimiseButtonLook, x, y, w, h, stateInfo(state));
    s.look(maximised ? FNRestoreButtonLook : FNMaximiseButtonLook, x + w + 2, y, w, h, stateInfo(state));
    s.look(FNCloseButtonLook, x + 2 * (w + 2), y, w, h, stateInfo(state));
}

int windowFrame(Sheet& s, int y)
{
    s.heading(20, y, "ウィンドウ枠");
    y += 24;
    // a framed window: 6-pixel sides, a 28-pixel title bar, 10 pixels below
    const int fx = 20, fw = 440, fh = 250;
    FNLookInfo edge;
    s.look(FNTitleBarLook, fx, y, fw, 28);
    edge.value = FNFrameEdgeLeft;
    s.look(FNFrameBorderLook, fx, y + 28, 6, fh - 38, edge);
    edge.value = FNFrameEdgeRight;
    s.look(FNFrameBorderLook, fx + fw - 6, y + 28, 6, fh - 38, edge);
    edge.value = FNFrameEdgeBottom;
    s.look(FNFrameBorderLook, fx, y + fh - 10, fw, 10, edge);
    FNStringStyle title;
    title.setBold(true);
    const FNRGB tc = FNThemeRGB(FNThemeKey::Title);
    title.setColor(tc.red, tc.green, tc.blue);
    s.text(&title, fx + 10, y + 8, "Tesserine - 白紙キャンバス");
    titleButtons(s, fx + fw - 3 * 24 - 6, y + 5, 22, 18, FNButtonNormal, false);
    // client area with a few widgets
    for (int j = 0; j < fh - 38; ++j)
        for (int i = 0; i < fw - 12; ++i)
            s.canvas().setColor(fx + 6 + i, y + 28 + j, 255, 255, 255, 255);
    s.look(FNFaceLook, fx + 20, y + 50, 100, 24);
    s.centred(fx + 20, y + 50, 100, 24, "キャンバス読込");
    s.look(FNHoverFaceLook, fx + 130, y + 50, 100, 24);
    s.centred(fx + 130, y + 50, 100, 24, "キャンバス保存");
    s.look(FNSliderTrackLook, fx + 20, y + 90, 200, 20);
    s.look(FNFaceLook, fx + 90, y + 90, 12, 20);
    s.look(FNTextBoxFocusedLook, fx + 250, y + 50, 60, 22);
    s.text(nullptr, fx + 255, y + 55, "1200");
    s.look(FNDropDownBoxLook, fx + 250, y + 90, 95, 20);
    s.text(nullptr, fx + 255, y + 94, "通常合成");
    scrollBar(s, fx + fw - 6 - 16, y + 28, fh - 38, 16, true, FNButtonNormal);

    // every title button in every state at two sizes
    int x = 500;
    const char* states[3] = { "通常", "ホバー", "押下" };
    for (int state = 0; state < 3; ++state) {
        s.note(x, y + state * 40 + 4, states[state]);
        titleButtons(s, x + 50, y + state * 40, 22, 18, state, false);
        s.look(FNRestoreButtonLook, x + 50 + 3 * 24, y + state * 40, 22, 18, stateInfo(state));
        titleButtons(s, x + 180, y + state * 40, 30, 24, state, true);
    }
    s.note(x, y + 124, "4 倍拡大");
    s.zoom(x + 50, y, 4 * 24, 18, 4, x, y + 142);
    // the title bar at a second size, with a smaller title style's buttons
    s.look(FNTitleBarLook, 900, y + 142, 300, 24);
    s.text(&title, 910, y + 148, "クレジット情報");
    titleButtons(s, 900 + 300 - 3 * 20 - 4, y + 145, 18, 16, FNButtonHover, true);
    return y + fh + 16;
}

int textSamples(Sheet& s, int y)
{
    s.heading(20, y, "文字 (12 ピクセル: 標準 / 太字 / 斜体 / 無効)");
    y += 24;
    const char* texts[] = { "キャンバス保存", "パーツ読み込み", "白紙キャンバス", "ぼかしペン", "移動変形", "通常合成",
        "Smart合成", "色調節機能", "１つ戻る (Ctrl+Z)" };
    FNStringStyle bold, italic;
    bold.setBold(true);
    italic.setItalic(true);
    const FNStringStyle* styles[3] = { nullptr, &bold, &italic };
    const int firstRow = y;
    for (int row = 0; row < 4; ++row) {
        int x = 20;
        for (const char* t : texts) {
            s.text(row < 3 ? styles[row] : nullptr, x, y, t, row < 3);
            x += measureString(t, row < 3 && styles[row] ? styles[row]->font.get() : nullptr).width + 16;
        }
        y += 18;
    }
    s.text(nullptr, 20, y + 4, "切り取り\n実行");
    s.text(nullptr, 120, y + 4, "Poisson Count : 1234 ／ 境界線対象色の数: 56 — Smart合成 (Ctrl+Y) ÄÖÜ ฿");
    s.text(nullptr, 120, y + 20, "The quick brown fox jumps over the lazy dog 0123456789 ＭＳ Ｐゴシック");
    y += 44;
    for (int size : { 16, 20, 28 }) {
        FNStringStyle big;
        big.setSize(size);
        s.text(&big, 20, y, "Tesserine 画像合成エディタ — キャンバスの絵を保存する");
        y += size + 6;
    }
    // the first regular sample row, enlarged three times
    s.note(20, y + 4, "3 倍拡大");
    s.zoom(20, firstRow, 260, 16, 3, 20, y + 22);
    return y + 22 + 48 + 16;
}

constexpr const char* kUsage = "Usage: look-sheet [output.png]   (default: look-sheet.png)\n";

// The output file name from the command line; false, with the message
// written, when the arguments ask for help or are not a usable command.
bool outputPath(int argc, char** argv, const char*& path, int& status)
{
    path = "look-sheet.png";
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::fputs(kUsage, stdout);
            status = 0;
            return false;
        }
        const char* problem = nullptr;
        if (!argument.empty() && argument[0] == '-')
            problem = "unknown option";
        else if (i > 1)
            problem = "unexpected argument";
        if (problem) {
            std::fprintf(stderr, "look-sheet: %s '%s'\n%s", problem, argv[i], kUsage);
            status = 2;
            return false;
        }
        path = argv[i];
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const char* path = nullptr;
    int status = 0;
    if (!outputPath(argc, argv, path, status))
        return status;
    Sheet sheet(1320, 1500);
    int y = 16;
    y = buttons(sheet, y);
    // the small normal and hover buttons, enlarged three times
    sheet.note(780, 16, "3 倍拡大");
    sheet.zoom(16, 38, 164, 26, 3, 780, 34);
    y = panels(sheet, y);
    y = dropDownsAndFields(sheet, y);
    y = scrollBars(sheet, y);
    y = windowFrame(sheet, y);
    y = textSamples(sheet, y);
    if (!writeSheetPNG(sheet.canvas(), y, path)) {
        std::fprintf(stderr, "look-sheet: cannot write %s\n", path);
        return 1;
    }
    std::printf("look-sheet: wrote %s (%d x %d, font %s)\n", path, sheet.canvas().width, y,
        FNDefaultStringStyle().font ? FNDefaultStringStyle().font->family().c_str() : "none");
    return 0;
}
