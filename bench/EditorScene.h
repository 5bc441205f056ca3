#pragma once

// An editor-shaped scene for the rendering benchmarks: a menu bar of 8 and
// a command panel of 32 text buttons, and a 1200 x 1200 photo shown at half
// size in a clipped 580 x 560 canvas view; it fills an 800 x 600 frame.

#include "bench/BenchInputs.h"
#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "imaging/FNImage.h"

#include <memory>
#include <vector>

struct EditorScene {
    FN2DScene scene;
    std::unique_ptr<FNImage> face = std::make_unique<FNImage>(96, 24);
    std::unique_ptr<FNImage> photo = makePhoto(1200, 1200, 7, PhotoLook::Canvas);
    std::vector<std::unique_ptr<FN2DItem>> items;
    FN2DItem canvasView { 580, 560, 212, 32, 1 };
    FN2DItem picture { 1200, 1200, 580 / 2 - 600, 560 / 2 - 600, 0 };

    EditorScene()
    {
        face->fill(0xE8, 0xEC, 0xF0, 255);
        for (int x = 0; x < 96; ++x) // a darker rim
            face->row(0)[x] = face->row(23)[x] = 0xFFA0A8B0;
        scene.SetBackground(0xF4, 0xF4, 0xF4, 255);
        for (int i = 0; i < 40; ++i) {
            const bool menu = i < 8;
            const double x = menu ? 4 + i * 100 : 8 + (i - 8) % 2 * 100;
            const double y = menu ? 4 : 32 + (i - 8) / 2 * 34;
            auto item = std::make_unique<FN2DItem>(96, 24, x, y, 2);
            item->SetPicture(face.get());
            item->SetText(FNString(menu ? "メニュー " : "コマンド ") + i);
            item->textImageX = 8;
            item->textImageY = 4;
            scene.AddItem(item.get());
            items.push_back(std::move(item));
        }
        canvasView.clipChildren = true;
        scene.AddItem(&canvasView);
        picture.SetPicture(photo.get());
        picture.sampling = FNSamplingBilinear;
        picture.scaleX = picture.scaleY = 0.5; // zoom 0.5 about the view's centre
        canvasView.AddChild(&picture);
        picture.UpdateTransform();
    }
    ~EditorScene()
    {
        canvasView.RemoveChild(&picture);
        scene.RemoveItem(&canvasView);
        for (auto& item : items)
            scene.RemoveItem(item.get());
    }
    EditorScene(const EditorScene&) = delete;
    EditorScene& operator=(const EditorScene&) = delete;
};
